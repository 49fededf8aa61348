// The user-name line of "Primary.dat". The input is the file, then (after the first NUL byte)
// a name as UTF-8. Reading never fails loudly; a name that is stored reads back as itself, and
// lines 1–31 keep their bytes (each ended by CR LF).
#include <QStringDecoder>

#include "cp932_text.h"
#include "fuzz_support.h"
#include "user_name_file.h"

using namespace ordevo;
using namespace ordevo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = Input(data, size);
    const qsizetype split = input.indexOf('\0');
    const QByteArray file = split < 0 ? input : input.left(split);
    const QString name = QString::fromUtf8(split < 0 ? QByteArray() : input.mid(split + 1));
    const QString path = WriteInput(QStringLiteral("Primary.dat"), file);

    (void)ReadUserName(Scratch().path());
    if (!StoreUserName(Scratch().path(), name)) return 0;
    FUZZ_CHECK(ReadUserName(Scratch().path()) == name);
    QFile stored(path);
    FUZZ_CHECK(stored.open(QIODevice::ReadOnly));
    const QByteArray bytes = stored.readAll();
    const auto before = SplitLines(file);
    const auto after = SplitLines(bytes);
    FUZZ_CHECK(after.size() == static_cast<std::size_t>(kUserNameLine));
    for (int i = 0; i < kUserNameLine - 1; ++i)
        FUZZ_CHECK(after[static_cast<std::size_t>(i)] == before[static_cast<std::size_t>(i)]);
    FUZZ_CHECK(bytes.endsWith("\r\n"));
    return 0;
}
