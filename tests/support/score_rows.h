#pragma once

#include <string>
#include <vector>

// The table every installation starts from, as the file's 30 fields, best row first.
inline const std::vector<std::string> kBuiltInRows = {
    "Vortel",  "0", "50000", "Grallow", "0", "25000", "Turbo-Tinker", "0", "10000",
    "Wendrix", "0", "5000",  "KRAV",    "0", "2500",  "Pulsen",       "0", "2000",
    "~*~",     "0", "1000",  "Dabrine", "0", "500",   "Mostyn",       "0", "250",
    "Quade",   "0", "100"};

// The bytes of a high-score file holding these fields: each quoted on its own CR LF line.
inline std::string fileOf(const std::vector<std::string>& fields)
{
    std::string bytes;
    for (const std::string& field : fields)
        bytes += "\"" + field + "\"\r\n";
    return bytes;
}
