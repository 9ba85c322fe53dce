#pragma once
// What a folder holds, to show that a refused or failed command left it as
// it was.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <string>

namespace pcp::test {

// Every file and folder under `pasta` with a digest of its contents; the
// shared-memory index of the write-ahead log only by name, since every
// reader writes its marks there.
inline std::map<std::string, std::string> conteudoPasta(const QString& pasta)
{
    std::map<std::string, std::string> m;
    QDirIterator it(pasta, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString caminho = it.next();
        QFile f(caminho);
        QByteArray digest = "pasta";
        if (!caminho.endsWith(QStringLiteral("-shm")) && QFileInfo(caminho).isFile() && f.open(QIODevice::ReadOnly))
            digest = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
        m[QDir(pasta).relativeFilePath(caminho).toStdString()] = digest.toStdString();
    }
    return m;
}

}  // namespace pcp::test
