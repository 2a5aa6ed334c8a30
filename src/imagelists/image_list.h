// The rules of the image list panel that need no window: the image pages, where an added
// entry goes, which entry is selected after a deletion, the image tag, and the address
// taken from the browser's reply. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zk {

// An address as it goes into an attribute and the text of a page: "&", "<", ">" and
// '"' written as character references, so the browser reads back exactly the address
// and a stored entry can never add markup or script to the page.
std::string escapeHtml(std::string_view text);

// The one-image page, one line ended by CR LF:
// <html><head></head><body><div align="center"><img src="ADDRESS"></div></body></html>
std::string oneImagePage(std::string_view address);

// The whole-list page: an opening line, one line per entry
// (<img src="ADDRESS"><br>ADDRESS<br>) and a closing line, each ended by CR LF.
std::string wholeListPage(const std::vector<std::string>& entries);

// An address as it goes into a double-quoted attribute of the user's text: "&" and '"'
// written as character references, so it can neither end the attribute nor be read as
// a reference of its own.
std::string escapeHtmlAttribute(std::string_view text);

// The tag inserted at the caret for an address: <img src="ADDRESS">, the address
// escaped as an attribute.
std::string imageTagFor(std::string_view address);

// Where an added entry goes among count entries with currentItem selected: before the
// selected entry when it is not the last one, else at the end (also when nothing, or an
// entry that does not exist, is selected).
int addPosition(int currentItem, int count);

// The entry selected after entry deleted was removed, leaving remaining entries: the same
// index, one less when it is at or past the new last entry, never below the first entry.
// 0 when no entry remains (an index that selects nothing in an empty list).
int selectionAfterDelete(int deleted, int remaining);

// Whether a captured address may reach the clipboard and a list: not a javascript:
// address (in any case of letters, after leading spaces), and no control character (C0,
// DEL, C1), line or paragraph separator anywhere.
bool isAcceptableCapturedAddress(std::u32string_view address);

// The address in a browser reply '"ADDRESS","TITLE"...': the characters from the second
// one, as many as the position of the first comma (counted from 1) less three. Empty when
// there is no comma or it is among the first three characters, and when the address is
// refused (isAcceptableCapturedAddress).
std::string addressFromBrowserReply(std::string_view reply);

} // namespace zk
