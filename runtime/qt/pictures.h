#pragma once

#include <QPixmap>

#include <map>
#include <string>

namespace rtqt {

// The compiled-in pictures by name ("title" is ":/assets/title.png"), each loaded once.
class Pictures {
public:
    // A null pixmap for an empty name or a picture that is not there: it then draws nothing.
    const QPixmap& get(const std::string& name);

private:
    std::map<std::string, QPixmap, std::less<>> m_cache;
};

} // namespace rtqt
