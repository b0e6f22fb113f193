#include "Level2TechTypes.h"

namespace {

struct Level2Type {
    int32_t code;
    const char *name;
    std::vector<std::string> outputs;
};

const Level2Type *find(int32_t code) {
    static const Level2Type kinds[] = {
        {Level2TechTypes::DDX, "DDX", {"DDX"}},
        {Level2TechTypes::DDY, "DDY", {"DDY"}},
        {Level2TechTypes::DDZ, "DDZ", {"DDZ"}},
        {Level2TechTypes::MainFunds, "主力资金", {"主力资金"}},
        {Level2TechTypes::BSPoints, "BS点", {}},
        {Level2TechTypes::MinDDX, "分时DDX", {"分时DDX", "DDX累积"}},
        {Level2TechTypes::MinDiffer, "成交单差", {"成交单差"}},
        {Level2TechTypes::MinBSVol, "总买总卖", {"总买量", "总卖量"}},
    };
    for (const Level2Type &kind : kinds)
        if (kind.code == code)
            return &kind;
    return nullptr;
}

} // namespace

std::string Level2TechTypes::name(int32_t code) {
    const Level2Type *kind = find(code);
    return kind ? kind->name : "";
}

std::vector<std::string> Level2TechTypes::outputs(int32_t code) {
    const Level2Type *kind = find(code);
    return kind ? kind->outputs : std::vector<std::string>();
}
