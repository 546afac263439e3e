// Keeps an object library that has no sources yet buildable.
namespace zyn::detail { [[maybe_unused]] static int unitAnchor = 0; }
