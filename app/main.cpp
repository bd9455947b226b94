// Placeholder entry point until the editor window lands.
#include <cstdio>

int main()
{
    std::puts("Zelbun Kreator: the editor window is not built yet.");
    return 0;
}
