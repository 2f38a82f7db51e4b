#include "platform/ZipPlanilha.h"

#include <vector>

#include "common/Erro.h"

namespace zuv {

ParteZip::ParteZip(zip_file_t* arquivo, std::string nome, uint64_t comprimidos, const std::string& caminho,
                   const LimitesLeitura& limites)
    : arquivo_(arquivo),
      nome_(std::move(nome)),
      comprimidos_(comprimidos),
      caminho_(caminho),
      limites_(limites) {}

ParteZip::~ParteZip() {
  zip_fclose(arquivo_);
}

size_t ParteZip::le(char* destino, size_t n) {
  const zip_int64_t r = zip_fread(arquivo_, destino, n);
  if (r < 0) {
    falhaLeitura(caminho_, "o arquivo está danificado ou incompleto (parte " + nome_ + ": " +
                               zip_error_strerror(zip_file_get_error(arquivo_)) + ")");
  }
  lidos_ += static_cast<uint64_t>(r);
  if (lidos_ > limites_.bytesDescomprimidos)
    falhaLeitura(caminho_, "a parte " + nome_ + " descomprimida passa do limite de " +
                               std::to_string(limites_.bytesDescomprimidos) + " bytes");
  // A real sheet inflates to a few dozen times its compressed size; a bomb to a thousand.
  if (lidos_ > limites_.bytesSemSuspeita &&
      static_cast<double>(lidos_) > limites_.razaoCompressao * static_cast<double>(comprimidos_ + 1))
    falhaLeitura(caminho_, "a parte " + nome_ + " tem uma taxa de compressão suspeita (bomba zip)");
  return static_cast<size_t>(r);
}

ArquivoZip::ArquivoZip(const std::string& caminho, const LimitesLeitura& limites)
    : caminho_(caminho), limites_(limites) {
  int erro = 0;
  zip_ = zip_open(caminho.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &erro);
  if (!zip_) {
    zip_error_t e;
    zip_error_init_with_code(&e, erro);
    std::string descricao = zip_error_strerror(&e);
    zip_error_fini(&e);
    if (erro == ZIP_ER_NOENT) falhaLeitura(caminho, "arquivo não encontrado");
    if (erro == ZIP_ER_NOZIP || erro == ZIP_ER_INCONS)
      falhaLeitura(caminho, "o arquivo está danificado ou incompleto (" + descricao + ")");
    falhaLeitura(caminho, "o arquivo não pôde ser aberto (" + descricao + ")");
  }
}

ArquivoZip::~ArquivoZip() {
  zip_discard(zip_);
}

std::optional<zip_uint64_t> ArquivoZip::procura(const std::string& nome) const {
  const zip_int64_t i = zip_name_locate(zip_, nome.c_str(), ZIP_FL_NOCASE);
  if (i < 0) return std::nullopt;
  return static_cast<zip_uint64_t>(i);
}

std::unique_ptr<ParteZip> ArquivoZip::abre(zip_uint64_t indice) const {
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(zip_, indice, 0, &st) != 0)
    falhaLeitura(caminho_, "o arquivo está danificado (" + std::string(zip_strerror(zip_)) + ")");
  const std::string nome = (st.valid & ZIP_STAT_NAME) ? st.name : "?";
  if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
    falhaLeitura(caminho_, "planilha protegida por senha");
  if ((st.valid & ZIP_STAT_SIZE) && st.size > limites_.bytesDescomprimidos)
    falhaLeitura(caminho_, "a parte " + nome + " descomprimida passa do limite de " +
                               std::to_string(limites_.bytesDescomprimidos) + " bytes");
  const uint64_t comprimidos = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
  zip_file_t* f = zip_fopen_index(zip_, indice, 0);
  if (!f) {
    const int codigo = zip_error_code_zip(zip_get_error(zip_));
    if (codigo == ZIP_ER_NOPASSWD || codigo == ZIP_ER_WRONGPASSWD)
      falhaLeitura(caminho_, "planilha protegida por senha");
    falhaLeitura(caminho_, "a parte " + nome + " não pôde ser lida (" + zip_strerror(zip_) + ")");
  }
  return std::make_unique<ParteZip>(f, nome, comprimidos, caminho_, limites_);
}

std::unique_ptr<ParteZip> ArquivoZip::abre(const std::string& nome) const {
  auto i = procura(nome);
  if (!i) falhaLeitura(caminho_, "falta a parte " + nome + " (não é uma planilha do Excel)");
  return abre(*i);
}

namespace {

int valorHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string resolveAlvo(const std::string& partOrigem, const std::string& alvo) {
  std::string decodificado;
  for (size_t i = 0; i < alvo.size(); ++i) {
    if (alvo[i] == '%' && i + 2 < alvo.size() && valorHex(alvo[i + 1]) >= 0 && valorHex(alvo[i + 2]) >= 0) {
      decodificado += static_cast<char>(valorHex(alvo[i + 1]) * 16 + valorHex(alvo[i + 2]));
      i += 2;
    } else {
      decodificado += alvo[i] == '\\' ? '/' : alvo[i];
    }
  }
  std::string base;
  if (decodificado.empty() || decodificado[0] != '/') {
    const size_t barra = partOrigem.rfind('/');
    if (barra != std::string::npos) base = partOrigem.substr(0, barra + 1);
  }
  std::vector<std::string> pedacos;
  const std::string junto = base + decodificado;
  size_t inicio = 0;
  while (inicio <= junto.size()) {
    size_t fim = junto.find('/', inicio);
    if (fim == std::string::npos) fim = junto.size();
    const std::string pedaco = junto.substr(inicio, fim - inicio);
    if (pedaco == "..") {
      if (!pedacos.empty()) pedacos.pop_back();
    } else if (!pedaco.empty() && pedaco != ".") {
      pedacos.push_back(pedaco);
    }
    inicio = fim + 1;
  }
  std::string r;
  for (const auto& p : pedacos)
    r += (r.empty() ? "" : "/") + p;
  return r;
}

}  // namespace zuv
