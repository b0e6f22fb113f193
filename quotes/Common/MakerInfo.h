#pragma once

// Who makes the application: the name, securities code, addresses, telephone numbers and postal
// address that the shell's texts quote (the disclaimer, the marquee's welcome line, the about and
// risk pages). Kept here only, so that every screen says the same.
namespace MakerInfo {

inline constexpr const char *Name = "岚峰星";
inline constexpr const char *SecuritiesCode = "830899";
inline constexpr const char *WebAddress = "www.lanfengxing.example";
inline constexpr const char *ServicePhone = "400-000-0000";
inline constexpr const char *ProductName = "岚峰星行情";
inline constexpr const char *MobileAddress = "m.lanfengxing.example";
inline constexpr const char *PartnerPhone = "400-000-0001";
inline constexpr const char *PostalAddress = "示例市示例区示例路 1 号";
inline constexpr const char *Postcode = "100000";

} // namespace MakerInfo
