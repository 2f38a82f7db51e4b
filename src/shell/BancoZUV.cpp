#include "shell/BancoZUV.h"

#include <dirent.h>
#include <strings.h>

#include <fstream>

#include "common/Erro.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "shell/PastaPrograma.h"

namespace zuv {

namespace {

constexpr const char* kSemIni = "Arquivo zuv.INI não encontrado ";
constexpr const char* kErroAbrir = "Erro ao abrir o banco de dados verifique o caminho. ";

// zuv.ini in the program folder. A copy from Windows may be spelled ZUV.INI; any spelling counts
// when the exact name is missing, as it would on Windows. Empty when there is none.
std::string arquivoIni(const std::string& pastaPrograma) {
  const std::string pasta = pastaPrograma.empty() ? "." : pastaPrograma;
  const std::string exato = pasta + "/zuv.ini";
  if (std::ifstream(exato).good()) return exato;
  std::string achado;
  if (DIR* dir = opendir(pasta.c_str())) {
    while (dirent* e = readdir(dir)) {
      if (strcasecmp(e->d_name, "zuv.ini") == 0) {
        achado = pasta + "/" + e->d_name;
        break;
      }
    }
    closedir(dir);
  }
  return achado;
}

}  // namespace

std::string textoConexaoZUV(const std::string& pastaDados) {
  return std::string(" provider=LCPI.IBProvider.1;data source=") + pastaDados + "\\VENDAS.FDB;" +
         kCaudaConexao;
}

std::string lePastaDados(const std::string& pastaPrograma) {
  const std::string nome = arquivoIni(pastaPrograma);
  if (nome.empty()) throw ErroConfiguracao(kSemIni);
  std::ifstream ini(nome, std::ios::binary);
  if (!ini) throw Erro("Não foi possível ler " + nome);
  std::string linha;
  std::getline(ini, linha);
  if (ini.bad()) throw Erro("Não foi possível ler " + nome);
  // A file saved by Notepad may begin with a byte-order mark and end its lines with CR LF.
  if (linha.rfind("\xEF\xBB\xBF", 0) == 0) linha.erase(0, 3);
  if (!linha.empty() && linha.back() == '\r') linha.pop_back();
  return apara(linha);
}

std::string dicaSemIni(const std::string& pastaPrograma) {
  return "Procurado em " + (pastaPrograma.empty() ? std::string(".") : pastaPrograma) +
         "/zuv.ini (a pasta do programa). Para usar outra pasta: " + kOpcaoPastaPrograma +
         " PASTA ou a variável " + kVariavelPastaPrograma + "=PASTA.";
}

void avisaSemIni(Tela& tela, const std::string& pastaPrograma) {
  tela.mensagemComDica(kSemIni, dicaSemIni(pastaPrograma), Icone::Informacao);
}

std::unique_ptr<Conexao> AbreBancoDados(const std::string& pastaPrograma, Tela& tela) {
  if (arquivoIni(pastaPrograma).empty()) {
    avisaSemIni(tela, pastaPrograma);
    throw FimDoPrograma{MotivoFim::Configuracao};
  }
  std::string texto;
  try {
    texto = textoConexaoZUV(lePastaDados(pastaPrograma));
    return std::make_unique<Conexao>(texto);
  } catch (const std::exception& e) {
    const std::string mensagem = std::string(kErroAbrir) + e.what();
    if (texto.empty()) {  // zuv.ini itself could not be read: the description names it
      tela.mensagem(mensagem, Icone::Informacao);
    } else {
      // The engine's description does not always name the file (a server that does not answer).
      tela.mensagemComDica(mensagem,
                           "Arquivo procurado: " + ParametrosConexao::deTexto(texto).caminhoBanco() +
                               " (a pasta de dados é a primeira linha de " + arquivoIni(pastaPrograma) + ").",
                           Icone::Informacao);
    }
    throw FimDoPrograma{MotivoFim::Falha};
  }
}

SlotConexao& SlotConexao::programa() {
  static SlotConexao slot;
  return slot;
}

void SlotConexao::substitui(std::unique_ptr<Conexao> conexao) {
  if (conexao_) {
    // A form may still hold a reference to the replaced connection: it stays alive, closed, so
    // that its next use fails with the layer's "closed" error instead of touching freed memory.
    conexao_->fecha();
    antigas_.push_back(std::move(conexao_));
  }
  conexao_ = std::move(conexao);
}

Conexao& SlotConexao::conexao() {
  if (!conexao_ || !conexao_->aberta()) throw ErroBanco("A conexão com o banco de dados está fechada.");
  return *conexao_;
}

void SlotConexao::fecha() {
  if (conexao_) conexao_->fecha();
}

bool SlotConexao::aberta() const {
  return conexao_ && conexao_->aberta();
}

}  // namespace zuv
