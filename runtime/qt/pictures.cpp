#include "runtime/qt/pictures.h"

namespace rtqt {

const QPixmap& Pictures::get(const std::string& name)
{
    auto it = m_cache.find(name);
    if (it == m_cache.end()) {
        QPixmap pixmap;
        if (!name.empty())
            pixmap.load(QStringLiteral(":/assets/%1.png").arg(QString::fromStdString(name)));
        it = m_cache.emplace(name, std::move(pixmap)).first;
    }
    return it->second;
}

} // namespace rtqt
