#include "platforms/qt/pictures.h"

#include "assets/assets.h"

#include <QPixmap>

namespace rtqt {

QPixmap decodePicture(std::string_view name)
{
    QPixmap pixmap;
    const std::span<const unsigned char> png = assets::png(name);
    if (!png.empty())
        pixmap.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG");
    return pixmap;
}

const QPixmap& Pictures::get(const std::string& name)
{
    auto it = m_cache.find(name);
    if (it == m_cache.end())
        it = m_cache.emplace(name, decodePicture(name)).first;
    return it->second;
}

} // namespace rtqt
