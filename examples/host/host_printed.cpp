#include "host_printed.h"

#include <system_error>

#include "platform/gdi/png_export.h"

namespace host {

namespace fs = std::filesystem;

SavedPages SavePrintedPages(const zyn::gdi::PrintedDocument& doc, const fs::path& folder, const std::string& stem)
{
    SavedPages saved;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        saved.error = "the folder " + folder.string() + " cannot be made: " + ec.message();
        return saved;
    }
    const auto pageFile = [&](size_t n) { return folder / (stem + "-page" + std::to_string(n) + ".png"); };
    for (size_t i = 0; i < doc.pages.size(); ++i) {
        const fs::path file = pageFile(i + 1);
        if (!doc.pages[i].image || !zyn::gdi::SaveSurfacePng(*doc.pages[i].image, nullptr, file.string())) {
            saved.error = "page " + std::to_string(i + 1) + " cannot be written to " + file.string();
            return saved;
        }
        saved.files.push_back(file);
    }
    // What a longer printing of the same kind left after these pages.
    for (size_t n = doc.pages.size() + 1; fs::exists(pageFile(n), ec); ++n) {
        if (!fs::remove(pageFile(n), ec)) {
            saved.error = "an earlier page " + pageFile(n).string() + " cannot be removed: " + ec.message();
            return saved;
        }
    }
    return saved;
}

std::shared_ptr<const zyn::gdi::PrintedDocument> LastPrinted()
{
    const auto documents = zyn::gdi::PrintedDocuments();
    return documents.empty() ? nullptr : documents.back();
}

} // namespace host
