// Anchor of the shared precompiled test header; built only so the header is.
int main() { return 0; }
