// A plain QSaveFile write: the new content goes to a temporary file in the same folder, which
// replaces the old file only once it is complete.
#include "files/SaveFile.h"

#include <QSaveFile>
#include <QString>

namespace vork {

SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString().toStdString()};
    const auto size = qint64(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        SaveResult failed{false, file.errorString().toStdString()};
        file.cancelWriting();
        return failed;
    }
    if (!file.commit())
        return {false, file.errorString().toStdString()};
    return {true, {}};
}

} // namespace vork
