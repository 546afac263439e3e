// The example host. For now it exercises the foundation; later it becomes the MDI host.
#include <cstdio>

int main()
{
    std::puts("ZynCmn example host");
    return 0;
}
