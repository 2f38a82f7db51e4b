#include "platform/firebird/LeituraCursor.h"

#include <vector>

namespace zuv {

std::string LeituraCursor::leBlob(ITransaction* t, ISC_QUAD* id, unsigned charset, bool texto) {
  Status st;
  IBlob* blob = anexo->openBlob(&st, t, id, 0, nullptr);
  st.verifica();
  std::string dados;
  char pedaco[16384];
  for (;;) {
    unsigned lidos = 0;
    const int r = blob->getSegment(&st, sizeof pedaco, pedaco, &lidos);
    if (r == IStatus::RESULT_NO_DATA) break;
    if (r != IStatus::RESULT_OK && r != IStatus::RESULT_SEGMENT) {
      Status fim;
      blob->close(&fim);
      st.verifica();
    }
    dados.append(pedaco, lidos);
  }
  blob->close(&st);
  st.verifica();
  return texto ? textoDoBanco(std::move(dados), charset) : dados;
}

Recordset LeituraCursor::leCursor(ITransaction* t, IStatement* stmt, IMessageMetadata* entrada, void* dados) {
  Status st;
  Posse<IMessageMetadata> meta(stmt->getOutputMetadata(&st));
  st.verifica();
  const unsigned n = meta->getCount(&st);
  st.verifica();

  struct Coluna {
    unsigned tipo, charset, tamanho, deslocamento, deslocamentoNulo;
    int escala, subtipo;
  };
  std::vector<Coluna> cols(n);
  std::vector<Campo> campos(n);
  for (unsigned i = 0; i < n; ++i) {
    Coluna& c = cols[i];
    c.tipo = meta->getType(&st, i) & ~1u;
    c.charset = meta->getCharSet(&st, i) & 0xFF;
    c.tamanho = meta->getLength(&st, i);
    c.deslocamento = meta->getOffset(&st, i);
    c.deslocamentoNulo = meta->getNullOffset(&st, i);
    c.escala = meta->getScale(&st, i);
    c.subtipo = meta->getSubType(&st, i);
    const char* alias = meta->getAlias(&st, i);
    st.verifica();
    Campo& f = campos[i];
    f.nome = w1252 ? de1252(alias) : alias;
    f.tipoSql = static_cast<int>(c.tipo);
    f.escala = -c.escala;
    switch (c.tipo) {
      case SQL_SHORT:
      case SQL_LONG:
      case SQL_INT64:
      case SQL_FLOAT:
      case SQL_DOUBLE:
      case SQL_D_FLOAT:
        f.classe = ClasseTipo::Numero;
        break;
      case SQL_BOOLEAN:
        f.classe = ClasseTipo::Logico;
        break;
      case SQL_TEXT:
      case SQL_VARYING:
        f.classe = ClasseTipo::Texto;
        f.tamanho = static_cast<int>(c.tamanho);
        break;
      case SQL_TIMESTAMP:
      case SQL_TYPE_DATE:
      case SQL_TYPE_TIME:
        f.classe = ClasseTipo::DataHora;
        break;
      case SQL_BLOB:
        f.classe = c.subtipo == 1 ? ClasseTipo::Texto : ClasseTipo::Binario;
        break;
      default:
        f.classe = ClasseTipo::Outro;
    }
  }

  // A statement without columns (an UPDATE given to abre) runs and yields a closed snapshot.
  if (n == 0) {
    stmt->execute(&st, t, entrada, dados, nullptr, nullptr);
    st.verifica();
    return Recordset(std::move(campos), std::vector<Valor>{});
  }

  const unsigned tamanhoMsg = meta->getMessageLength(&st);
  st.verifica();
  std::vector<unsigned char> buffer(tamanhoMsg);
  Cursor rs(stmt->openCursor(&st, t, entrada, dados, meta.get(), 0));
  st.verifica();

  IUtil* util = mestre()->getUtilInterface();
  std::vector<Valor> celulas;
  for (;;) {
    const int r = rs->fetchNext(&st, buffer.data());
    st.verifica();
    if (r != IStatus::RESULT_OK) break;
    if (aCadaLinha) aCadaLinha();
    for (unsigned i = 0; i < n; ++i) {
      const Coluna& c = cols[i];
      const unsigned char* p = buffer.data() + c.deslocamento;
      if (*reinterpret_cast<const short*>(buffer.data() + c.deslocamentoNulo)) {
        celulas.emplace_back();
        continue;
      }
      auto inteiroEscalado = [&](int64_t v) {
        celulas.emplace_back(c.escala < 0 ? Valor(Decimal{v, -c.escala}) : Valor(v));
      };
      switch (c.tipo) {
        case SQL_SHORT:
          inteiroEscalado(*reinterpret_cast<const int16_t*>(p));
          break;
        case SQL_LONG:
          inteiroEscalado(*reinterpret_cast<const int32_t*>(p));
          break;
        case SQL_INT64:
          inteiroEscalado(*reinterpret_cast<const int64_t*>(p));
          break;
        case SQL_FLOAT:
          celulas.emplace_back(static_cast<double>(*reinterpret_cast<const float*>(p)));
          break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
          celulas.emplace_back(*reinterpret_cast<const double*>(p));
          break;
        case SQL_BOOLEAN:
          celulas.emplace_back(int64_t{*p ? 1 : 0});
          break;
        case SQL_TEXT: {
          std::string s(reinterpret_cast<const char*>(p), c.tamanho);
          // A multi-byte CHAR(n) arrives padded to its byte length: keep n characters.
          if (charsetUtf8(c.charset)) {
            const size_t caracteres = c.tamanho / (c.charset == kCsUtf8 ? 4 : 3);
            size_t total = 0;
            for (char ch : s)
              total += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
            for (; total > caracteres && !s.empty() && s.back() == ' '; --total)
              s.pop_back();
          }
          celulas.emplace_back(textoDoBanco(std::move(s), c.charset));
          break;
        }
        case SQL_VARYING: {
          const uint16_t len = *reinterpret_cast<const uint16_t*>(p);
          celulas.emplace_back(
              textoDoBanco(std::string(reinterpret_cast<const char*>(p + 2), len), c.charset));
          break;
        }
        case SQL_TYPE_DATE: {
          unsigned a, m, dd;
          util->decodeDate(*reinterpret_cast<const ISC_DATE*>(p), &a, &m, &dd);
          celulas.emplace_back(Data{static_cast<int>(a), static_cast<int>(m), static_cast<int>(dd)});
          break;
        }
        case SQL_TYPE_TIME: {
          unsigned h, mi, s, f;
          util->decodeTime(*reinterpret_cast<const ISC_TIME*>(p), &h, &mi, &s, &f);
          celulas.emplace_back(
              Hora{static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(f)});
          break;
        }
        case SQL_TIMESTAMP: {
          const auto* ts = reinterpret_cast<const ISC_TIMESTAMP*>(p);
          unsigned a, m, dd, h, mi, s, f;
          util->decodeDate(ts->timestamp_date, &a, &m, &dd);
          util->decodeTime(ts->timestamp_time, &h, &mi, &s, &f);
          celulas.emplace_back(DataHora{
              Data{static_cast<int>(a), static_cast<int>(m), static_cast<int>(dd)},
              Hora{static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(f)}});
          break;
        }
        case SQL_BLOB: {
          ISC_QUAD id = *reinterpret_cast<const ISC_QUAD*>(p);
          celulas.emplace_back(leBlob(t, &id, c.charset, c.subtipo == 1));
          break;
        }
        default:
          celulas.emplace_back();
      }
    }
    if (porLinha) {
      porLinha(celulas);
      celulas.clear();
    }
  }
  return Recordset(std::move(campos), std::move(celulas));
}

}  // namespace zuv
