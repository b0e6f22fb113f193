#pragma once

#include "DataBase/ComAPI.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/NetDataCenter.h"

// A series whose newest entry is still changing: each reply starts again at the last entry held,
// which it replaces rather than repeats. An empty reply empties the list. The new position is the
// index of the last entry (0 for none), where the next request starts.
template <class ReadEntry>
void parseRefreshedSeries(ByteView frame, NetDataCenter::PackList &list, int32_t &newPos,
                          ReadEntry &&readEntry) {
    if (NetDataCenter::IsEmptyPack(frame)) {
        list.clear();
        newPos = 0;
        return;
    }
    if (!list.empty())
        list.pop_back();
    uint32_t pos = NTDataPageHead::Size;
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) { list.push_back(readEntry(pos)); });
    newPos = list.empty() ? 0 : int32_t(list.size() - 1);
}
