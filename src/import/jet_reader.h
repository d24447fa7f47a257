#pragma once

#include <memory>

#include "import/table_reader.h"

namespace torvane::import {

// What the first bytes of a file say about it, before any library reads it.
enum class JetKind { NotJet, Jet3, Jet4, Ace };
JetKind sniffJet(const QString& path);
inline bool isJetFile(const QString& path) {
    return sniffJet(path) != JetKind::NotJet;
}

// Reads the tables of an Access 97 (Jet 3) or Access 2000 (Jet 4) file through libmdb. The
// file is opened read-only and never written. Text comes out in UTF-8 whatever the file's
// code page; currency keeps its four decimals.
class JetReader : public TableReader {
  public:
    // Throws ImportError with a Spanish reason (without the path) when the file cannot be
    // read: missing, damaged, another Access version, password, open in Access.
    explicit JetReader(const QString& path);
    ~JetReader() override;

    JetKind kind() const { return kind_; }

    QStringList tables() override;
    QStringList columns(const QString& table) override;
    void readRows(const QString& table,
                  const std::function<void(const std::vector<Value>&)>& row) override;

  private:
    struct Handle;
    std::unique_ptr<Handle> h_;
    JetKind kind_ = JetKind::NotJet;
};

}  // namespace torvane::import
