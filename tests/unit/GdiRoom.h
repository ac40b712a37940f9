// Room for more GDI objects, which shrinks by each object alive (Wine does not tell
// their number): pens made until the platform refuses one, then deleted.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

inline int GdiRoom() {
    std::vector<HPEN> pens;
    for (HPEN pen; pens.size() < 100000 && (pen = CreatePen(PS_SOLID, 1, 0)) != nullptr;) {
        pens.push_back(pen);
    }
    EXPECT_LT(pens.size(), 100000u) << "the platform sets a limit";
    std::for_each(pens.begin(), pens.end(), DeleteObject);
    return static_cast<int>(pens.size());
}
