#pragma once
// Reading a prepared SELECT of the client library into a Recordset snapshot: every row fetched,
// each column decoded into a Valor (exact decimals, dates, blobs), texts of a Windows-1252 database
// turned into UTF-8.
#include <functional>
#include <string>
#include <vector>

#include "platform/Recordset.h"
#include "platform/firebird/Cliente.h"

namespace zuv {

// Character set numbers of the engine that the text conversion looks at.
inline constexpr unsigned kCsOctets = 1, kCsUnicodeFss = 3, kCsUtf8 = 4;

inline bool charsetUtf8(unsigned charset) {
  return charset == kCsUtf8 || charset == kCsUnicodeFss;
}

class LeituraCursor {
 public:
  // w1252: the connection's texts are Windows-1252 bytes (ctype none).
  LeituraCursor(IAttachment* anexo, bool w1252) : anexo(anexo), w1252(w1252) {}

  // Runs stmt in t (with the input message of its parameters, if any) and returns all its rows; a
  // statement without columns runs and gives an empty, closed snapshot. Throws ErroBanco.
  Recordset leCursor(ITransaction* t, IStatement* stmt, IMessageMetadata* entrada = nullptr,
                     void* dados = nullptr);

  // When set, each row's values go to porLinha as the row is fetched and are not kept: the
  // snapshot that leCursor returns then has no rows.
  std::function<void(const std::vector<Valor>&)> porLinha;

  // Called after each row fetched: the connection's watcher counts a row as an answer.
  std::function<void()> aCadaLinha;

 private:
  std::string leBlob(ITransaction* t, ISC_QUAD* id, unsigned charset, bool texto);
  std::string textoDoBanco(std::string bytes, unsigned charset) const {
    if (charset == kCsOctets || charsetUtf8(charset) || !w1252) return bytes;
    return de1252(bytes);
  }

  IAttachment* anexo;
  bool w1252;
};

}  // namespace zuv
