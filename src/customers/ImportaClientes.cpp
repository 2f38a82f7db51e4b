#include "customers/ImportaClientes.h"

#include <exception>
#include <memory>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/InstrucaoSQL.h"
#include "common/Limpeza.h"
#include "common/Operacao.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "customers/Clientes.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "platform/Windows1252.h"
#include "schema/Registros.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace {

struct Coluna {
  const char* nome;  // column of Cliente
  size_t tamanho;    // characters kept
  bool somenteDigitos;
};

// Workbook columns A to Q.
constexpr Coluna kColunas[kColunasCliente] = {
    {"CLIENTE", 60, false}, {"ENDERECO", 60, false}, {"NRO", 15, false},     {"COMPLEMENTO", 30, false},
    {"BAIRRO", 40, false},  {"CIDADE", 25, false},   {"ESTADO", 2, false},   {"CEP", 19, true},
    {"FONE", 18, false},    {"FONE2", 18, false},    {"CELULAR", 12, false}, {"PF", 1, false},
    {"CPF", 12, false},     {"RG", 12, false},       {"CGC", 18, false},     {"IE", 20, false},
    {"EMAIL", 60, false},
};
constexpr int kColunaPessoa = 11;  // L

std::string letraColuna(int coluna) {
  return std::string(1, static_cast<char>('A' + coluna));
}

std::string avisoSemNome(int linha) {
  return "Linha " + std::to_string(linha) +
         ": o nome (coluna A) fica vazio depois da limpeza; o cliente não foi incluído.";
}

std::string resumoSemNome(const std::vector<int>& linhas) {
  std::string r = linhas.size() == 1 ? "1 linha não foi importada"
                                     : std::to_string(linhas.size()) + " linhas não foram importadas";
  r += " porque o nome (coluna A) fica vazio depois da limpeza: ";
  for (size_t i = 0; i < linhas.size() && i < 20; ++i)
    r += (i ? ", " : "") + std::to_string(linhas[i]);
  return r + (linhas.size() > 20 ? ", ..." : "") + ".";
}

// Column A as the loop and the count test it.
std::string colunaA(LeitorPlanilha& planilha, int linha) {
  return apara(maiusculas(planilha.celula(linha, 1)));
}

CelulasCliente leLinha(LeitorPlanilha& planilha, int linha) {
  CelulasCliente c;
  for (int coluna = 0; coluna < kColunasCliente; ++coluna)
    c[coluna] = planilha.celula(linha, coluna + 1);
  return c;
}

// The heading and the data rows up to the first empty column A. The heading counts even when A1
// is empty, so the total is never 0.
int contaLinhas(LeitorPlanilha& planilha) {
  int total = 1;
  for (int linha = 2; !colunaA(planilha, linha).empty(); ++linha)
    ++total;
  return total;
}

// Tabs and line breaks (a cell typed on several lines) become blanks, like the symbols LimpaTexto
// blanks; other control characters stay, for exigeCaracteresDoBanco to refuse.
std::string quebrasEmBrancos(std::string texto) {
  for (char& c : texto)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return texto;
}

}  // namespace

ClienteLimpo limpaCliente(const CelulasCliente& celulas) {
  ClienteLimpo c;
  for (int i = 0; i < kColunasCliente; ++i) {
    std::string texto = TrocaAspas(LimpaTexto(quebrasEmBrancos(maiusculas(celulas[i])), false));
    if (kColunas[i].somenteDigitos) texto = SomenteDigitos(texto);
    c.textos[i] = esquerda(texto, kColunas[i].tamanho);
  }
  std::string& pessoa = c.textos[kColunaPessoa];
  if (pessoa != "F") pessoa.assign(1, 'J');
  return c;
}

std::string insercaoCliente(const ClienteLimpo& cliente, int32_t id) {
  Insercao insercao(" INSERT INTO Cliente (");
  insercao.campo("PF", "'" + cliente.pessoa() + "'").campo("Ativo", "'S'");
  for (int i = 0; i < kColunasCliente; ++i)
    if (i != kColunaPessoa) insercao.campo(kColunas[i].nome, Valor(cliente.textos[i]), TipoSQL::CH);
  return insercao.campo("IDCLIENTE", Valor(int64_t{id}), TipoSQL::FL).sql();
}

void exigeCaracteresDoBanco(const ClienteLimpo& cliente, int linha) {
  for (int i = 0; i < kColunasCliente; ++i) {
    for (char32_t c : paraCodigos(cliente.textos[i])) {
      // A NUL would also cut the statement short in the client library.
      if (em1252(c) && !caractereDeControle(c)) continue;
      throw ErroConversao("Linha " + std::to_string(linha) + ", coluna " + letraColuna(i) + " (" +
                          kColunas[i].nome + "): \"" + textoVisivel(cliente.textos[i]) +
                          "\" tem caracteres que o banco de dados do ZUV não aceita.");
    }
  }
}

Resultado ImportaClientes(ContextoExecucao& ctx) {
  Tela& tela = ctx.tela();
  try {
    ctx.reservaTabelas({"Cliente"});
    Conexao& conexao = ctx.zuv();
    tela.mostraControle(kControleProgresso, true);
    std::unique_ptr<LeitorPlanilha> planilha = abrePlanilha(ctx.pastaPrograma() + "/" + kArquivoClientes);
    tela.cursorEspera(true);
    tela.progresso(0);
    if (!tela.pergunta("Atualizar o Cadastro de Cliente", Icone::Pergunta, kTituloClientes)) {
      tela.cursorEspera(false);
      return Resultado::concluido();
    }

    const int total = contaLinhas(*planilha);
    int feitos = 0;
    // A workbook with only its heading inserts nothing: row 2 is tested like every other row.
    std::vector<int> semNome;  // rows whose name cleans to nothing: listed, not inserted
    for (int linha = 2; !colunaA(*planilha, linha).empty(); ++linha) {
      try {
        const ClienteLimpo cliente = limpaCliente(leLinha(*planilha, linha));
        if (apara(cliente.textos[0]).empty()) {
          if (semNome.empty()) {
            tela.limpaItens(kControleLista);
            tela.mostraControle(kControleLista, true);
          }
          semNome.push_back(linha);
          tela.adicionaItem(kControleLista, avisoSemNome(linha));
          ctx.registraFalha("Linha " + std::to_string(linha),
                            "o nome (coluna A) fica vazio depois da limpeza");
        } else {
          exigeCaracteresDoBanco(cliente, linha);
          const int32_t id = ProxCodigo(conexao, "idCliente", "Cliente");
          conexao.executa(insercaoCliente(cliente, id));
        }
      } catch (const std::exception& e) {
        ctx.registraFalha("Linha " + std::to_string(linha), e.what());
        throw;
      }
      // The bar as the system computes it (the total counts the heading); 100 after the last row.
      tela.progressoLinhas(static_cast<int>(feitos * (100.0 / total)), feitos + 1, total - 1);
      ++feitos;
    }
    tela.progressoLinhas(100, feitos, feitos);  // also a workbook with only its heading ends at 100

    tela.cursorEspera(false);
    if (!semNome.empty()) tela.mensagem(resumoSemNome(semNome), Icone::Exclamacao, kTituloClientes);
    tela.mensagem("FIM");
    return Resultado::encerrar();
  } catch (const std::exception& e) {
    // Customers inserted before the failure stay: each statement committed on its own (an
    // all-or-nothing run rolls them back).
    return informaFalha(tela, e);
  }
}

}  // namespace zuv
