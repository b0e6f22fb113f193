#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/QuoteRequestRecord.h"
#include "DataBase/NetData/RequestPosItem.h"

// What the chart data requesters share: the message layer they start with, the requester kept in a
// pack, and deliveries of held data that look like replies.

// The requester of a pack: its notification name or its object.
QuoteRequester requesterOfPack(const PackBase &pack);
// Makes the pack's requester the one given.
void setPackRequester(PackBase &pack, const QuoteRequester &requester);
// The shared message layer of the process-wide coordinator.
base::Weak<NetDataCenter> sharedNetDataCenter();
// Hands `params` to the requester as a reply of `type` on the next run-loop pass; an object
// requester is held weakly and gets nothing when it is gone by then.
void deliverLater(const QuoteRequester &requester, int type, base::Ref<ReqParams> params);
