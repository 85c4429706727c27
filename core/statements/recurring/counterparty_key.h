#pragma once

#include <string>
#include <string_view>

namespace paylark {

// Who a booking went to or came from, as recurring bills are grouped: the name folded for
// matching without the words that hold digits (dates, invoice and mandate numbers) and without
// the words banks add to every booking ("SEPA", "Lastschrift", "card payment"). Empty when
// nothing is left.
std::string CounterpartyNameKey(std::string_view name);

// The name to show for a counterparty: as the bank wrote it, up to the first digit
// ("STREAMFLIX*1012" is "STREAMFLIX"), or whole when nothing would be left.
std::string DisplayName(std::string_view name);

// The group of a booking: its counterparty's IBAN or account number when the bank gives one,
// else the name key (of the memo when the counterparty has no name). Empty for neither.
std::string CounterpartyKey(std::string_view name, std::string_view memo,
                            std::string_view counterpartyAccount);

}  // namespace paylark
