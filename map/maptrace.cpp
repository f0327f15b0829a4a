#include "map/maptrace.h"

#include <new>

bool MapTrace::allocate(int n)
{
    *this = MapTrace();
    if (n < 0)
        return false;
    try {
        filtered.assign(size_t(n), 0);
        prepared.assign(size_t(n), 0);
        raw.assign(size_t(n), 0);
    } catch (const std::bad_alloc&) {
        *this = MapTrace();
        return false;
    }
    count = n;
    return true;
}
