#pragma once

#include <QVector>

// The list without the entries at `indices` (ascending; out-of-range ones are ignored), in one
// pass however many entries go.
template <typename T>
QVector<T> withoutIndices(const QVector<T> &list, const QVector<int> &indices)
{
    QVector<T> kept;
    kept.reserve(list.size());
    auto next = indices.cbegin();
    for (int i = 0; i < list.size(); ++i) {
        while (next != indices.cend() && *next < i)
            ++next;
        if (next != indices.cend() && *next == i)
            continue;
        kept.append(list[i]);
    }
    return kept;
}
