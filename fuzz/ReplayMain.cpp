// Runs a fuzz target's entry point on every file of the corpus directories named on the command
// line, so the normal build replays the kept corpus as a test. A corpus that went missing or
// empty fails, rather than passing on nothing.
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const QDir corpus(QString::fromLocal8Bit(argv[i]));
    for (const QString& name : corpus.entryList(QDir::Files, QDir::Name)) {
      QFile file(corpus.filePath(name));
      if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        return 1;
      }
      const QByteArray input = file.readAll();
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                             static_cast<std::size_t>(input.size()));
      ++replayed;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  return replayed > 0 ? 0 : 1;
}
