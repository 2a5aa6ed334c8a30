// The rows of the entry list box ListImg: every row as wide as the widest entry plus 8
// pixels, so that long addresses scroll sideways, and all of one size, so that a long list
// is laid out without measuring each row. Entries are added and removed where they change,
// never by filling the box again.
#pragma once

#include <string>
#include <vector>

class QListWidget;

namespace zk::ui {

// Once, when the box is made.
void setUpEntryRows(QListWidget* list);

// The box holds entries, and nothing else.
void showEntries(QListWidget* list, const std::vector<std::string>& entries);

// Entries put in before row (at the end when row is the number of rows).
void insertEntries(QListWidget* list, int row, const std::vector<std::string>& entries);

// The entry of row taken out.
void removeEntry(QListWidget* list, int row);

} // namespace zk::ui
