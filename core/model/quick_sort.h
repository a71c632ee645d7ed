#pragma once

#include <utility>

namespace kalvo {

// The model's quicksort: the pivot is the key of the middle element, i runs up past smaller
// keys, j down past larger ones, unequal pairs swap. Its exact element order (which is not
// stable) is what files written after a sort contain, so it is kept as it is; only the
// recursion changes: the smaller part recurses and the larger one loops, so the stack stays
// logarithmic whatever the input.
//
// key(k) returns the sort key of position k, swap(a, b) exchanges two positions.
template <typename KeyAt, typename SwapAt>
void QuickSortRange(int first, int last, const KeyAt& key, const SwapAt& swap)
{
    while (first < last) {
        const auto pivot = key(first + (last - first) / 2);
        int i = first;
        int j = last;
        for (;;) {
            while (key(i) < pivot)
                ++i;
            while (pivot < key(j))
                --j;
            if (j <= i)
                break;
            swap(i, j);
            ++i;
            --j;
        }
        // Left part first .. i-1, right part j+1 .. last.
        const int leftLast = i - 1;
        const int rightFirst = j + 1;
        if (leftLast - first < last - rightFirst) {
            if (leftLast > first)
                QuickSortRange(first, leftLast, key, swap);
            first = rightFirst;
        } else {
            if (last > rightFirst)
                QuickSortRange(rightFirst, last, key, swap);
            last = leftLast;
        }
    }
}

} // namespace kalvo
