#pragma once

#include "scores/highscores.h"

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

// The table as the window shows it: name, level and score of each of the 10 rows.
inline std::vector<std::string> shownRows(const scores::Highscores& table)
{
    std::vector<std::string> fields;
    for (int i = 0; i < 10; ++i) {
        fields.push_back(table.Names.List(i));
        fields.push_back(table.Level.List(i));
        fields.push_back(table.Score.List(i));
    }
    return fields;
}
