#include "Module/StockDataBaseMgnt/MLineNetData.h"

#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"

MLineNetData::MLineNetData() : m_netdatacenter(sharedNetDataCenter()) {}

MLineNetData::MLineNetData(base::Weak<NetDataCenter> netdatacenter)
    : m_netdatacenter(std::move(netdatacenter)) {}

base::Ref<MinLinePack> MLineNetData::getMinLinePack(const std::string &code) const {
    return MinLinePack::getMinLinePack(m_packs, code);
}

std::vector<base::Ref<base::Object>> *MLineNetData::getMinLineRspArray(const std::string &code) const {
    auto pack = getMinLinePack(code);
    return pack ? &pack->rspArray : nullptr;
}

void MLineNetData::reqMinLine(const QuoteRequester &requester, const std::string &code, int tag) {
    if (!StockFunc::isValidCode(code))
        return;
    auto pack = getMinLinePack(code);
    if (!pack) {
        pack = base::make<MinLinePack>(code);
        m_packs.push_back(pack);
    }
    pack->tag = tag;
    setPackRequester(*pack, requester);
    auto center = netdatacenter();
    if (!center)
        return;
    if (pack->rspArray.empty() && pack->isIdle &&
        LocalFileFunc::readMinLine(code, pack->rspArray, center->IO_QuotesDate) && !pack->rspArray.empty()) {
        pack->readCount = int32_t(pack->rspArray.size());
        pack->pos = pack->readCount;
    }
    center->RequestMinLine(pack);
}

void MLineNetData::saveAndRemoveMinLine(const std::string &code) {
    std::erase_if(m_packs, [&](const base::Ref<MinLinePack> &pack) { return pack->code == code; });
}

void MLineNetData::setAllIdle() {
    RequestPosItem::setAllIdle(m_packs);
}

void MLineNetData::DoNotifyDelegate(const QuoteRequester &requester, const base::Ref<MinLinePack> &pack) {
    auto params = base::make<ReqParams>();
    params->setObject("pack", pack);
    deliverLater(requester, MinLineReplyType, params);
}
