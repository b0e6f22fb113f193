#include "MLineLevel2TechIndex.h"

#include "DataBase/NetData/Level2BSItem.h"
#include "DataBase/NetData/SeriesNumber.h"

namespace {

using Sub = TechLineSubItem;

// The minute DDX arrives as its running total × 1000.
constexpr float DDXScale = 1000;

bool isMinuteCode(int32_t techType) {
    return techType == Level2TechTypes::MinDDX || techType == Level2TechTypes::MinDiffer ||
           techType == Level2TechTypes::MinBSVol;
}

bool showsWholeNumbers(int32_t techType) {
    return techType == Level2TechTypes::MinDiffer || techType == Level2TechTypes::MinBSVol;
}

} // namespace

MLineLevel2TechIndex::MLineLevel2TechIndex(int32_t techType) {
    setTechType(techType);
}

void MLineLevel2TechIndex::setTechType(int32_t techType) {
    m_techType = techType;
    m_outputParams = Level2TechTypes::outputs(techType);
}

void MLineLevel2TechIndex::calculate(const base::Ref<Series> &series) {
    m_techLines.clear();
    if (!series || !isMinuteCode(m_techType))
        return;
    m_techLines.reserve(series->size());
    int32_t previous = 0;
    for (const base::Ref<base::Object> &element : *series) {
        auto record = base::make<TechLineItem>();
        auto *number = dynamic_cast<const SeriesNumber *>(element.get());
        auto *volumes = dynamic_cast<const Level2MinBSVolItem *>(element.get());
        if (m_techType == Level2TechTypes::MinDDX && number) {
            record->addSubItem(Sub::Bar, float(int64_t(number->value) - previous) / DDXScale);
            record->addSubItem(Sub::Line, float(number->value) / DDXScale);
            previous = number->value;
        } else if (m_techType == Level2TechTypes::MinDiffer && number) {
            record->addSubItem(Sub::Stick, float(number->value));
        } else if (m_techType == Level2TechTypes::MinBSVol && volumes) {
            record->addSubItem(Sub::Line, float(volumes->totalBuy));
            record->addSubItem(Sub::Line, float(volumes->totalSell));
        } else {
            for (size_t k = 0; k < m_outputParams.size(); ++k)
                record->addSubItem(Sub::Hidden, 0);
        }
        m_techLines.push_back(std::move(record));
    }
}

base::Ref<TechLineItem> MLineLevel2TechIndex::getItem(int index) const {
    if (m_techLines.empty())
        return nullptr;
    if (index == -1)
        return m_techLines.back();
    return index >= 0 && index < count() ? m_techLines[size_t(index)] : nullptr;
}

bool MLineLevel2TechIndex::getMaxMinInfo(int indexFrom, int indexTo, float &max, float &min) const {
    switch (m_techType) {
    case Level2TechTypes::MinBSVol:
        defaultRange(indexFrom, indexTo, max, min);
        return true;
    case Level2TechTypes::MinDDX:
    case Level2TechTypes::MinDiffer:
        symmetricRange(indexFrom, indexTo, max, min);
        return true;
    default:
        return false;
    }
}

int MLineLevel2TechIndex::getLeftTextDigits(int32_t techType) {
    return showsWholeNumbers(techType) ? 0 : 2;
}

int MLineLevel2TechIndex::getTopTextDigits(int32_t techType) {
    return showsWholeNumbers(techType) ? 0 : 3;
}
