// The Siscomex NCM table: a JSON object read with a small pull parser that keeps only the
// version, the act and each node's code and dates.
#include <algorithm>
#include <charconv>
#include <cstdio>

#include "fiscal/LeArquivoTabela.h"
#include "fiscal/TabelasFiscais.h"

namespace zuv {

namespace {

constexpr int kProfundidadeMaxima = 64;

class LeitorJson {
 public:
  LeitorJson(std::string_view texto, const std::string& origem) : t_(texto), origem_(origem) {}

  [[noreturn]] void falha(const std::string& problema) const {
    throw ErroTabelaFiscal(origem_ + ": " + problema + " (posição " + std::to_string(i_) + ")");
  }

  void brancos() {
    while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\r' || t_[i_] == '\t'))
      ++i_;
  }
  // Consumes c (after blanks) when it is next.
  bool tenta(char c) {
    brancos();
    if (i_ < t_.size() && t_[i_] == c) return ++i_, true;
    return false;
  }
  void exige(char c) {
    if (!tenta(c)) falha(std::string("esperava '") + c + "'");
  }
  bool proximoE(char c) {
    brancos();
    return i_ < t_.size() && t_[i_] == c;
  }

  std::string texto() {
    exige('"');
    std::string r;
    while (true) {
      if (i_ >= t_.size()) falha("texto sem fim");
      const char c = t_[i_++];
      if (c == '"') return r;
      if (c != '\\') {
        r += c;
        continue;
      }
      if (i_ >= t_.size()) falha("texto sem fim");
      const char e = t_[i_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          r += e;
          break;
        case 'b':
          r += '\b';
          break;
        case 'f':
          r += '\f';
          break;
        case 'n':
          r += '\n';
          break;
        case 'r':
          r += '\r';
          break;
        case 't':
          r += '\t';
          break;
        case 'u':
          utf8(r, codigoUnicode());
          break;
        default:
          falha("escape inválido");
      }
    }
  }

  // Any value, skipped.
  void pula(int profundidade = 0) {
    if (profundidade > kProfundidadeMaxima) falha("aninhamento profundo demais");
    brancos();
    if (i_ >= t_.size()) falha("fim inesperado");
    const char c = t_[i_];
    if (c == '"') {
      texto();
    } else if (c == '{') {
      ++i_;
      if (tenta('}')) return;
      do {
        texto();
        exige(':');
        pula(profundidade + 1);
      } while (tenta(','));
      exige('}');
    } else if (c == '[') {
      ++i_;
      if (tenta(']')) return;
      do
        pula(profundidade + 1);
      while (tenta(','));
      exige(']');
    } else {
      const size_t inicio = i_;
      while (i_ < t_.size() &&
             std::string_view("+-.0123456789eEtruefalsn").find(t_[i_]) != std::string_view::npos)
        ++i_;
      if (i_ == inicio) falha("valor inválido");
    }
  }

  bool fim() {
    brancos();
    return i_ >= t_.size();
  }

 private:
  unsigned hex4() {
    if (i_ + 4 > t_.size()) falha("escape \\u incompleto");
    unsigned v = 0;
    const auto r = std::from_chars(t_.data() + i_, t_.data() + i_ + 4, v, 16);
    if (r.ptr != t_.data() + i_ + 4) falha("escape \\u inválido");
    i_ += 4;
    return v;
  }
  char32_t codigoUnicode() {
    unsigned c = hex4();
    if (c >= 0xD800 && c < 0xDC00 && t_.substr(i_, 2) == "\\u") {
      i_ += 2;
      const unsigned baixo = hex4();
      if (baixo >= 0xDC00 && baixo < 0xE000) return 0x10000 + ((c - 0xD800) << 10) + (baixo - 0xDC00);
      return 0xFFFD;
    }
    return (c >= 0xD800 && c < 0xE000) ? 0xFFFD : c;
  }
  static void utf8(std::string& r, char32_t c) {
    if (c < 0x80) {
      r += static_cast<char>(c);
    } else if (c < 0x800) {
      r += static_cast<char>(0xC0 | (c >> 6));
      r += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      r += static_cast<char>(0xE0 | (c >> 12));
      r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      r += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      r += static_cast<char>(0xF0 | (c >> 18));
      r += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      r += static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  std::string_view t_;
  const std::string& origem_;
  size_t i_ = 0;
};

bool dataDoTexto(std::string_view t, Data& d) {
  if (t.size() != 10 || t[2] != '/' || t[5] != '/') return false;
  auto numero = [&](size_t de, size_t n, int& v) {
    return std::from_chars(t.data() + de, t.data() + de + n, v).ptr == t.data() + de + n;
  };
  if (!numero(0, 2, d.dia) || !numero(3, 2, d.mes) || !numero(6, 4, d.ano)) return false;
  return d.valida();
}

}  // namespace

std::string textoData(const Data& d) {
  char s[16];
  std::snprintf(s, sizeof s, "%02d/%02d/%04d", d.dia % 100, d.mes % 100, d.ano % 10000);
  return s;
}

TabelaNcm TabelaNcm::carrega(const std::string& caminho) {
  const std::string conteudo = leArquivoTabela(caminho, "tabela NCM");
  return deJson(conteudo, caminho);
}

TabelaNcm TabelaNcm::deJson(std::string_view json, const std::string& origem) {
  const std::string texto = textoUtf8(json);
  LeitorJson j(texto, origem);
  TabelaNcm tabela;
  struct Entrada {
    uint32_t codigo;
    VigenciaNcm vigencia;
  };
  std::vector<Entrada> entradas;
  bool temNomenclaturas = false;
  j.exige('{');
  if (!j.tenta('}')) {
    do {
      const std::string chave = j.texto();
      j.exige(':');
      if (chave == "Data_Ultima_Atualizacao_NCM" && j.proximoE('"')) {
        tabela.versao_ = j.texto();
      } else if (chave == "Ato" && j.proximoE('"')) {
        tabela.ato_ = j.texto();
      } else if (chave == "Nomenclaturas") {
        temNomenclaturas = true;
        j.exige('[');
        if (j.tenta(']')) continue;
        do {
          std::string codigo, inicio, fim;
          j.exige('{');
          if (!j.tenta('}')) {
            do {
              const std::string campo = j.texto();
              j.exige(':');
              std::string* destino = campo == "Codigo"        ? &codigo
                                     : campo == "Data_Inicio" ? &inicio
                                     : campo == "Data_Fim"    ? &fim
                                                              : nullptr;
              if (destino && j.proximoE('"'))
                *destino = j.texto();
              else
                j.pula(2);
            } while (j.tenta(','));
            j.exige('}');
          }
          std::string digitos;
          for (char c : codigo)
            if (c >= '0' && c <= '9') digitos += c;
          if (digitos.size() != 8) continue;  // chapters, headings and sub-headings
          Entrada e{static_cast<uint32_t>(std::stoul(digitos)), {{1, 1, 1}, {9999, 12, 31}}};
          if ((!inicio.empty() && !dataDoTexto(inicio, e.vigencia.inicio)) ||
              (!fim.empty() && !dataDoTexto(fim, e.vigencia.fim)))
            throw ErroTabelaFiscal(origem + ": data inválida no código " + codigo);
          entradas.push_back(e);
        } while (j.tenta(','));
        j.exige(']');
      } else {
        j.pula(1);
      }
    } while (j.tenta(','));
    j.exige('}');
  }
  if (!j.fim()) j.falha("texto depois do fim do objeto");
  if (!temNomenclaturas)
    throw ErroTabelaFiscal(origem + ": não é a tabela NCM do Siscomex (falta \"Nomenclaturas\")");
  std::stable_sort(entradas.begin(), entradas.end(),
                   [](const Entrada& a, const Entrada& b) { return a.codigo < b.codigo; });
  for (size_t i = 0; i < entradas.size(); ++i) {
    if (i == 0 || entradas[i].codigo != entradas[i - 1].codigo) ++tabela.codigos_;
    tabela.numeros_.push_back(entradas[i].codigo);
    tabela.vigencias_.push_back(entradas[i].vigencia);
  }
  return tabela;
}

std::string TabelaNcm::descricao() const {
  std::string r = versao_.empty() ? "versão não informada" : versao_;
  if (!ato_.empty()) r += " (" + ato_ + ")";
  return r + ", " + std::to_string(codigos_) + " códigos de 8 dígitos";
}

std::span<const VigenciaNcm> TabelaNcm::vigencias(std::string_view codigo) const {
  uint32_t n = 0;
  if (codigo.size() != 8 || std::from_chars(codigo.data(), codigo.data() + 8, n).ptr != codigo.data() + 8)
    return {};
  const auto [de, ate] = std::equal_range(numeros_.begin(), numeros_.end(), n);
  return {vigencias_.data() + (de - numeros_.begin()), static_cast<size_t>(ate - de)};
}

}  // namespace zuv
