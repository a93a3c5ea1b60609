#include "files/SaveFile.h"

#include <QSaveFile>

namespace vork {

// A plain QSaveFile: the bytes go to a temporary file beside the target, which is renamed over
// it only when every byte was written.
SaveResult saveFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString().toStdString()};
    const auto size = qint64(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString().toStdString()};
    return {true, {}};
}

} // namespace vork
