// Anchor of the libraries' shared precompiled header; compiled only so the header is.
namespace zyn::detail { [[maybe_unused]] static int libraryPchAnchor = 0; }
