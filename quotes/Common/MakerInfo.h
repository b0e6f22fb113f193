#pragma once

// Who makes the application: the name, securities code, web address and customer-service
// telephone number that the shell's texts quote (the disclaimer, the marquee's welcome line, the
// about page). Kept here only, so that every screen says the same.
namespace MakerInfo {

inline constexpr const char *Name = "岚峰星";
inline constexpr const char *SecuritiesCode = "830899";
inline constexpr const char *WebAddress = "www.lanfengxing.example";
inline constexpr const char *ServicePhone = "400-000-0000";

} // namespace MakerInfo
