#include "Common/Util.h"

std::string Util::getMarketCode(std::string_view code) {
    return code.size() < 2 ? std::string() : std::string(code.substr(0, 2));
}
