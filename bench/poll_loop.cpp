// The floor below the bare window: a process that does nothing but wake up every 20 ms, no Qt, no X.
// What one wake-up costs on this machine, before any event loop adds its own work.

#include <poll.h>

int main()
{
    for (;;)
        ::poll(nullptr, 0, 20);
}
