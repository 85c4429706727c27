#include <ostream>
#include <variant>

#include "cli/amount_argument.h"
#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "core/records/payment.h"

namespace paylark::cli {
namespace {

// The payment the options describe; empty when they are all valid, else the message to show.
std::optional<std::string> TakePayment(Arguments& arguments, Payment& payment) {
  if (auto on = arguments.TakeValue("--on")) {
    payment.on = ParseDateTime(*on, DateOnly::kStartOfDay);
    if (!payment.on)
      return "--on needs a date as YYYY-MM-DD[ HH:MM[:SS]]";
  }
  if (auto amount = arguments.TakeValue("--amount")) {
    const auto parsed = ParseAmountArgument(*amount);
    if (const auto* message = std::get_if<Message>(&parsed))
      return MessageText(*message);
    payment.amount = std::get<double>(parsed);
  }
  if (auto reference = arguments.TakeValue("--reference"))
    payment.reference = *reference;
  return std::nullopt;
}

}  // namespace

// Pays one due: an amount below what is left is a part, and one beyond it is kept and its excess
// said. Paying a paid due again replaces its payment details, and standard error names the
// payment replaced so that a statement's reference is never dropped unseen.
int RunPay(Arguments& arguments, CommandContext& context) {
  Payment payment;
  if (auto problem = TakePayment(arguments, payment))
    return UsageError(context, *problem);
  const DueArgument due = TakeDueArgument("pay", arguments, context);
  if (!due.id)
    return due.exitCode;
  const std::string& id = *due.id;
  DueRecord record = context.store.Get(id);
  if (IsPaid(record) && !record.paymentReference.empty()) {
    context.err << "paylark-cli: the payment with reference " << record.paymentReference
                << (record.paidOn ? " of " + IsoDateTime(*record.paidOn).substr(0, 10) : "")
                << " was replaced\n";
  }
  const PaymentOutcome outcome = Pay(record, context.clock.Now(), payment);
  const Status status = context.store.Replace(record);
  if (!status.ok()) {
    return Fail(context, kExitFailed, "the due " + id + " could not be saved: " + status.message());
  }
  if (!outcome.paid)
    context.out << PartsPaidText(record) << '\n';
  else if (outcome.excess != 0)
    context.out << "Paid, " << ExcessText(outcome.excess) << '\n';
  return kExitSuccess;
}

}  // namespace paylark::cli
