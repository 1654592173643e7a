#include "common/picture/YuvTables.h"

#include <mutex>

namespace {

YuvTables g_tables;
std::once_flag g_filled;

void Fill() {
    for (int k = 0; k < 384; ++k) {
        const int t = k - 128;
        // Integer division truncates toward zero, as the conversion rule asks.
        g_tables.v_to_red[k] = t * 88 / 64;
        g_tables.u_to_green[k] = t * 22 / 64;
        g_tables.v_to_green[k] = t * 45 / 64;
        g_tables.u_to_blue[k] = t * 111 / 64;
    }
}

}  // namespace

void InitYuvTables() { std::call_once(g_filled, Fill); }

const YuvTables& GetYuvTables() {
    InitYuvTables();
    return g_tables;
}
