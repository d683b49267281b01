// The words and figures of a build's progress, for the designer's window and the terminal line.
#pragma once
#include <string>

#include "disc/builder.h"

namespace vk {

// The stage as the window's caption line says it: "Copying the files:".
std::string ProgressCaption(BuildStage stage);
// What is done of what: "1,203 of 2,703 files, 34.5 of 72.0 MB"; pages while they are read.
std::string ProgressCounts(const BuildProgress& progress);
// True for the report that ends its stage (the last file copied, the image's last byte), which
// a display shows whatever its pace.
bool ProgressAtStageEnd(const BuildProgress& progress);
// Per mille of the bytes done, for a bar; -1 while the total is not known.
int ProgressPerMille(const BuildProgress& progress);
// One terminal line of at most columns characters: the caption, the counts and as much of the
// item's end as fits.
std::string ProgressLine(const BuildProgress& progress, size_t columns);

} // namespace vk
