// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The value stored under `key`, or nullptr when there is none.
template <typename Map, typename Key>
auto FindIn(Map& map, const Key& key) -> decltype(&map.begin()->second) {
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}
