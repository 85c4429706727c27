// libFuzzer target: any bytes as a CalDAV server's answer, and as the state kept between syncs.
// Reading never crashes or reads out of bounds, every known status is a three-digit code, and a
// state read back is written again as it was read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/caldav_multistatus.h"
#include "core/exchange/caldav_plan.h"
#include "core/exchange/caldav_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto multistatus = paylark::ParseMultistatus(text);
  if (multistatus.ok()) {
    for (const paylark::DavResponse& response : multistatus.value().responses) {
      if (response.status != 0 && (response.status < 100 || response.status > 999))
        __builtin_trap();
      (void)paylark::EventFingerprint(response.calendarData);
    }
  }
  const paylark::CalDavState state = paylark::ParseCalDavState(text);
  const std::string written = paylark::SerializeCalDavState(state);
  if (paylark::SerializeCalDavState(paylark::ParseCalDavState(written)) != written)
    __builtin_trap();
  (void)paylark::EventFingerprint(text);
  return 0;
}
