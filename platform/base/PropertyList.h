#pragma once

#include "Data.h"
#include "Value.h"

#include <optional>
#include <string>

namespace base {

// Property lists in XML or binary form, read into Values and written as XML.
// Types: dictionary, array, string (UTF-8), integer, real, boolean, data and date. Integers are read as
// signed 64-bit numbers. Anything that is not a well-formed property list reads as nothing.
class PropertyList {
public:
    static std::optional<Value> read(const std::string &path);
    static std::optional<Value> read(const Data &data);

    // XML bytes; nothing when the value holds something a property list cannot (null, an
    // unsigned number above the signed 64-bit range, a date outside the years 1933 to 2069).
    static std::optional<Data> xml(const Value &value);
    // Binary form, as other property-list readers accept it; same limits as xml().
    static std::optional<Data> binary(const Value &value);
    // Writes the XML form to path, whole and atomically, as a file of that mode (less the umask);
    // false on any failure.
    static bool write(const Value &value, const std::string &path, unsigned mode = 0666);
};

} // namespace base
