#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "core/attachments/attachment_store.h"
#include "core/attachments/due_attaching.h"
#include "core/sync/backups.h"

namespace paylark::cli {
namespace {

AttachmentStore AttachmentsOf(const CommandContext& context) {
  return AttachmentStore(context.store.files(), context.store.workingDirectory());
}

// A file the user named that cannot be attached is an invalid argument; a failure to read or
// write is a failed operation.
int ExitCodeOf(const Status& status) {
  const bool badArgument =
      status.code() == StatusCode::kInvalidArgument || status.code() == StatusCode::kNotFound;
  return badArgument ? kExitInvalid : kExitFailed;
}

}  // namespace

int RunAttach(Arguments& arguments, CommandContext& context) {
  const auto id = arguments.TakePositional();
  if (!id)
    return UsageError(context, "attach needs a record ID and at least one file");
  std::vector<std::string> sources;
  while (auto source = arguments.TakePositional())
    sources.push_back(std::move(*source));
  if (sources.empty())
    return UsageError(context, "attach needs at least one file");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (!context.store.records().Contains(*id))
    return NoSuchDue(context, *id);
  AttachmentStore attachments = AttachmentsOf(context);
  // Every file is checked before any is copied, so a mistyped name attaches nothing.
  for (const std::string& source : sources) {
    if (const Status status = attachments.CheckSource(source); !status.ok())
      return Fail(context, ExitCodeOf(status), status.message());
  }
  for (const std::string& source : sources) {
    Result<std::string> added = AttachToDue(context.store, attachments, *id, source,
                                            BackupsFolder(context.store.workingDirectory()));
    if (!added.ok())
      return Fail(context, ExitCodeOf(added.status()), added.status().message());
    context.out << added.value() << '\n';
  }
  return kExitSuccess;
}

int RunAttachments(Arguments& arguments, CommandContext& context) {
  const bool json = arguments.TakeFlag("--json");
  const DueArgument due = TakeDueArgument("attachments", arguments, context);
  if (!due.id)
    return due.exitCode;
  const std::string& id = *due.id;
  const AttachmentStore attachments = AttachmentsOf(context);
  const Result<AttachmentListing> listing = attachments.Listing(id);
  if (!listing.ok())
    return Fail(context, kExitFailed, listing.status().message());
  for (const std::string& name : listing.value().foreign)
    context.err << "paylark-cli: " << ForeignFile(id, name).message() << '\n';
  const std::vector<Attachment>& listed = listing.value().attachments;
  if (!json) {
    for (const Attachment& attachment : listed)
      context.out << attachment.name << '\t' << attachment.size << '\n';
    return kExitSuccess;
  }
  std::string rows;
  for (const Attachment& attachment : listed) {
    rows += rows.empty() ? "" : ", ";
    rows += "{\"name\": " + JsonString(attachment.name) +
            ", \"size\": " + std::to_string(attachment.size) +
            ", \"path\": " + JsonString(attachments.PathOf(id, attachment.name)) + "}";
  }
  context.out << "{\"recordId\": " << JsonString(id) << ", \"attachments\": [" << rows << "]}\n";
  return kExitSuccess;
}

int RunDetach(Arguments& arguments, CommandContext& context) {
  const auto id = arguments.TakePositional();
  const auto name = arguments.TakePositional();
  if (!id || !name)
    return UsageError(context, "detach needs a record ID and an attachment's name");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (!context.store.records().Contains(*id))
    return NoSuchDue(context, *id);
  AttachmentStore attachments = AttachmentsOf(context);
  const Status status =
      attachments.Remove(*id, *name, BackupsFolder(context.store.workingDirectory()));
  if (!status.ok())
    return Fail(context, kExitFailed, status.message());
  return kExitSuccess;
}

}  // namespace paylark::cli
