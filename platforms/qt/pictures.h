#pragma once

#include <QPixmap>

#include <map>
#include <string>
#include <string_view>

namespace rtqt {

// The picture of that name decoded from the game's picture table (assets/assets.h); a null
// pixmap for an empty name or a picture that is not there.
QPixmap decodePicture(std::string_view name);

// The pictures the windows draw, by name, each decoded once.
class Pictures {
public:
    // A null pixmap for an empty name or a picture that is not there: it then draws nothing.
    const QPixmap& get(const std::string& name);

private:
    std::map<std::string, QPixmap, std::less<>> m_cache;
};

} // namespace rtqt
