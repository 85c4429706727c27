#!/usr/bin/env bash
# The layers' arrows point one way: core/ includes no Qt header and nothing above it, core/base
# no other part of core, core/io nothing but core/base, core/records none of the subsystems built on it, settings/ nothing of
# the window or the command line, ui/base no other folder of ui/ and ui/widgets only ui/base. The
# core reaches files only through its file-system interface, never through std::filesystem.
# Usage: layers_test.sh SOURCE_DIR
set -uo pipefail
cd "$1"
failed=0
forbid() {  # forbid FOLDER PATTERN WHY
  local found
  found=$(grep -rnE --include='*.cpp' --include='*.h' "$2" "$1")
  if [ -n "$found" ]; then
    echo "$3:"
    echo "$found"
    failed=1
  fi
}
forbid core '#include <Q|#include "(ui|cli|settings)/' "core/ includes Qt or a layer above it"
forbid core/base \
  '#include "core/(records|recurrence|export|office|print|exchange|reminders|sync|attachments|forecast|statements|bills)/' \
  "core/base includes another part of core"
forbid core/base '#include "core/io/' "core/base includes the file-system seam built on it"
forbid core/io '#include "core/(records|recurrence|export|office|print|exchange|reminders|sync|attachments|forecast|statements|bills)/' \
  "core/io, the seam every byte goes through, includes a part of core above it"
# The modules' tables are the programs' way to the formats, the charts and the servers: only the
# window's top floor and remote/'s own side of its module include one.
for folder in core/{base,io,records,recurrence,attachments,export,office,print,sync,exchange} \
  core/{reminders,forecast,statements,bills} cli settings \
  ui/{base,widgets,shell,editor,recurrence,export,exchange,attachments,print,reminders,sync} \
  ui/{forecast,statements,bills} \
  $(ls remote/*.cpp remote/*.h | grep -vE '^remote/remote_(module|forwarders)'); do
  forbid "$folder" '#include "(core/modules|ui/app)/|#include "remote/remote_module\.h"' \
    "$folder includes a module's table"
done
forbid core '#include "tests/' "core/ includes test support (the in-memory file system lives there)"
forbid core/records '#include "core/(recurrence|export|office|print|exchange|reminders|sync|bills)/' \
  "core/records includes a subsystem built on it"
# Inside core/records the store sits on its parts (files, swaps, loading, snapshot, index, IDs);
# none of them includes the store or the views built on it.
for part in core/records/{record_files,record_swap,record_loading,record_snapshot,record_codec,record_index,record_ids,record_file_name,folder_loader,snapshot_decoder,change_marker_file,due_map,packed_due,text_arena,sync_file_names}.*; do
  forbid "$part" '#include "core/records/(record_store|year_summary|month_selection|series_history|due_search)\.h"' \
    "$part, a part of the record store, includes the store or a view built on it"
done
forbid core '#include <filesystem>|std::filesystem' \
  "core/ reaches the disk beside its file-system interface (core/io/file_system.h)"
forbid settings '#include "(ui|cli|remote)/' "settings/ includes the window, the command line or the network"
forbid remote '#include "(ui|cli)/' "remote/ includes the window or the command line"
forbid ui/base '#include "ui/(widgets|shell|editor|recurrence|export|exchange|print|reminders|sync|app)/' \
  "ui/base includes another folder of ui/"
forbid ui/widgets '#include "ui/(shell|editor|recurrence|export|exchange|print|reminders|sync|app)/' \
  "ui/widgets includes a folder of ui/ other than base"
[ $failed -eq 0 ] && echo "every include points down its layers"
exit $failed
