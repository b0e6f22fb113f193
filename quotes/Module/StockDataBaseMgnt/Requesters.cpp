#include "Module/StockDataBaseMgnt/Requesters.h"

#include "DataBase/DataBase.h"
#include "base/RunLoop.h"

QuoteRequester requesterOfPack(const PackBase &pack) {
    if (!pack.delegateName().empty())
        return pack.delegateName();
    if (auto object = std::dynamic_pointer_cast<DataPoolDelegate>(pack.delegateObject()))
        return object;
    return std::monostate();
}

void setPackRequester(PackBase &pack, const QuoteRequester &requester) {
    if (const std::string *name = std::get_if<std::string>(&requester))
        pack.setDelegate(*name);
    else if (const auto *object = std::get_if<base::Ref<DataPoolDelegate>>(&requester))
        pack.setDelegate(std::dynamic_pointer_cast<base::Object>(*object));
    else
        pack.setDelegate(base::Ref<base::Object>());
}

base::Weak<NetDataCenter> sharedNetDataCenter() {
    return DataBase::sharedDataBase()->IO_NetDataCenter();
}

void deliverLater(const QuoteRequester &requester, int type, base::Ref<ReqParams> params) {
    std::function<QuoteRequester()> target;
    if (const auto *object = std::get_if<base::Ref<DataPoolDelegate>>(&requester)) {
        base::Weak<DataPoolDelegate> weak = *object;
        target = [weak]() -> QuoteRequester {
            if (auto alive = weak.lock())
                return alive;
            return std::monostate();
        };
    } else {
        target = [requester] { return requester; };
    }
    base::RunLoop::current().performAfter(
        0, base::Action("deliverLater", [target, type, params](base::Object *) {
            QuoteRequester now = target();
            if (!std::holds_alternative<std::monostate>(now))
                DataBase::processRsp(now, type, params);
        }));
}
