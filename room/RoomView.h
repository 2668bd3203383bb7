// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the room sees of a game: the number just drawn, the five before it, newest first, how many are out,
// and which. Worked out from the order of the balls, so that it follows draws, undos, new and resumed games
// alike.

#include <array>
#include <vector>

namespace cantabola {

struct RoomView
{
    int current = 0; // 0 when no ball is out
    std::vector<int> previous; // at most five, newest first
    int count = 0;
    std::array<bool, 91> drawn{}; // 1 to 90
};

inline RoomView roomView(const std::vector<int> &order)
{
    RoomView view;
    view.count = static_cast<int>(order.size());
    for (const int n : order)
        view.drawn.at(static_cast<std::size_t>(n)) = true;
    for (auto it = order.rbegin(); it != order.rend() && view.previous.size() < 6; ++it)
        view.previous.push_back(*it);
    if (!view.previous.empty()) {
        view.current = view.previous.front();
        view.previous.erase(view.previous.begin());
    }
    return view;
}

} // namespace cantabola
