#include "tests/files/files_util.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace files_test {

std::string NativeDir(const std::string& name)
{
    const std::string dir = zyn::test::TempRoot() + "/files/" + name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void WriteNative(const std::string& native, const std::string& bytes)
{
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + native);
}

std::string ReadNative(const std::string& native)
{
    std::ifstream in(native, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace files_test
