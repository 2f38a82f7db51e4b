#include "platform/Alteracoes.h"

#include <cctype>

namespace zuv {

namespace {

// Reads words and names of a statement, skipping blanks and comments.
class Leitor {
 public:
  explicit Leitor(const std::string& s) : s_(s) {}

  // The next word in upper case, or the next quoted name as written ("" at the end).
  std::string palavra() {
    pulaBrancos();
    if (i_ >= s_.size()) return {};
    if (s_[i_] == '"') {
      std::string nome;
      for (++i_; i_ < s_.size(); ++i_) {
        if (s_[i_] == '"') {
          if (i_ + 1 < s_.size() && s_[i_ + 1] == '"') {
            nome += '"';
            ++i_;
            continue;
          }
          ++i_;
          break;
        }
        nome += s_[i_];
      }
      return nome;
    }
    std::string p;
    while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_' ||
                              s_[i_] == '$' || static_cast<unsigned char>(s_[i_]) >= 0x80))
      p += static_cast<char>(std::toupper(static_cast<unsigned char>(s_[i_++])));
    if (p.empty()) ++i_;  // a symbol
    return p;
  }

 private:
  void pulaBrancos() {
    for (;;) {
      while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
        ++i_;
      if (s_.compare(i_, 2, "--") == 0) {
        i_ = s_.find('\n', i_);
        if (i_ == std::string::npos) i_ = s_.size();
      } else if (s_.compare(i_, 2, "/*") == 0) {
        i_ = s_.find("*/", i_ + 2);
        i_ = i_ == std::string::npos ? s_.size() : i_ + 2;
      } else {
        return;
      }
    }
  }
  const std::string& s_;
  size_t i_ = 0;
};

}  // namespace

std::string tabelaDaInstrucao(const std::string& sql) {
  Leitor l(sql);
  const std::string verbo = l.palavra();
  std::string p;
  if (verbo == "INSERT" || verbo == "MERGE") {
    p = l.palavra();
    return p == "INTO" ? l.palavra() : std::string();
  }
  if (verbo == "DELETE") {
    p = l.palavra();
    return p == "FROM" ? l.palavra() : std::string();
  }
  if (verbo == "UPDATE") {
    p = l.palavra();
    if (p != "OR") return p;
    if (l.palavra() != "INSERT" || l.palavra() != "INTO") return {};
    return l.palavra();
  }
  return {};
}

void soma(Alteracoes& a, const Alteracoes& b) {
  for (const auto& [tabela, c] : b) {
    ContagemTabela& t = a[tabela];
    t.incluidos += c.incluidos;
    t.alterados += c.alterados;
    t.excluidos += c.excluidos;
  }
}

bool vazias(const Alteracoes& a) {
  for (const auto& [tabela, c] : a)
    if (c.total() != 0) return false;
  return true;
}

}  // namespace zuv
