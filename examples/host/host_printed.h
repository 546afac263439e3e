#pragma once
// The console's printed pages on disk. The library's printer keeps each printed
// document's pages as images in the process (platform/gdi/printer.h); a person printing
// from the console would see nothing of them, so the console writes a document's pages as
// PNG files into its data folder and says where they went.
//
// A printing of one kind (a stem: "session", "session-log") writes <stem>-page<N>.png, N
// from 1, replacing the pages an earlier printing of that kind left, so the folder shows
// the last printing of each kind whole and nothing more.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/printer.h"

namespace host {

struct SavedPages {
    std::vector<std::filesystem::path> files; // in page order
    std::string error;                        // empty when every page was written
};

// Writes the pages of `doc` into `folder` (made when missing) as described above.
SavedPages SavePrintedPages(const zyn::gdi::PrintedDocument& doc, const std::filesystem::path& folder,
    const std::string& stem);

// The newest document the printers filed, or null.
std::shared_ptr<const zyn::gdi::PrintedDocument> LastPrinted();

} // namespace host
