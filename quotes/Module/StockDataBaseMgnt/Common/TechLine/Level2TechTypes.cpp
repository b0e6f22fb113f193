#include "Level2TechTypes.h"

namespace {

struct Level2Spec {
    int32_t code;
    const char *name;
    std::vector<std::string> outputs;
};

const Level2Spec *find(int32_t code) {
    static const Level2Spec specs[] = {
        {Level2TechTypes::DDX, "DDX", {"DDX"}},
        {Level2TechTypes::DDY, "DDY", {"DDY"}},
        {Level2TechTypes::DDZ, "DDZ", {"DDZ"}},
        {Level2TechTypes::MainFunds, "主力资金", {"主力资金"}},
        {Level2TechTypes::BSPoints, "BS点", {}},
        {Level2TechTypes::MinDDX, "分时DDX", {"分时DDX", "DDX累积"}},
        {Level2TechTypes::MinDiffer, "成交单差", {"成交单差"}},
        {Level2TechTypes::MinBSVol, "总买总卖", {"总买量", "总卖量"}},
    };
    for (const Level2Spec &spec : specs)
        if (spec.code == code)
            return &spec;
    return nullptr;
}

} // namespace

std::string Level2TechTypes::name(int32_t code) {
    const Level2Spec *spec = find(code);
    return spec ? spec->name : "";
}

std::vector<std::string> Level2TechTypes::outputs(int32_t code) {
    const Level2Spec *spec = find(code);
    return spec ? spec->outputs : std::vector<std::string>();
}
