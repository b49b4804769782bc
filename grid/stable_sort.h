#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// A stable merge sort of items[first, last) that never reaches outside that range, whatever the
// comparison answers: a screen's comparison need not be a strict weak order, nor answer the
// same twice. With a proper one, items that compare equal keep their order.
template <class T, class Less>
void StableSortWithin(std::vector<T>& items, std::size_t first, std::size_t last, Less less) {
    if (last > items.size() || first >= last || last - first < 2) return;
    const std::size_t n = last - first;
    T* data = items.data() + first;

    constexpr std::size_t kRun = 32;
    for (std::size_t lo = 0; lo < n; lo += kRun) {
        const std::size_t hi = std::min(lo + kRun, n);
        for (std::size_t i = lo + 1; i < hi; ++i) {
            T value = std::move(data[i]);
            std::size_t j = i;
            for (; j > lo && less(value, data[j - 1]); --j)
                data[j] = std::move(data[j - 1]);
            data[j] = std::move(value);
        }
    }

    std::vector<T> buffer(n);
    T* from = data;
    T* to = buffer.data();
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t i = lo;
            std::size_t j = mid;
            std::size_t k = lo;
            while (i < mid && j < hi)
                to[k++] = less(from[j], from[i]) ? std::move(from[j++]) : std::move(from[i++]);
            while (i < mid)
                to[k++] = std::move(from[i++]);
            while (j < hi)
                to[k++] = std::move(from[j++]);
        }
        std::swap(from, to);
    }
    if (from != data) std::move(from, from + n, data);
}
