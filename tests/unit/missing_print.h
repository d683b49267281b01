// Missing-list entries in test failure messages, as the list shows them.
#pragma once
#include <ostream>

#include "disc/scanner.h"

namespace vk {

inline void PrintTo(const MissingFile& file, std::ostream* os) { *os << MissingEntryText(file); }

} // namespace vk
