// Only in a sanitized build of the console: the leak checker reads the project's
// suppressions however the console is started (scripts/demo, a shell, a test), as the
// test programs do. They name leaks inside system libraries only (the display library's
// D-Bus connection, the ODBC driver managers), never the console's or the library's own.
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" ZYN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
