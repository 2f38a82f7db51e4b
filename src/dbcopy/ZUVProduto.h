#pragma once
// The database-to-database copy (form FrmZUVdeZUVProduto): names the runs and the form share, the
// form's options and the runs of its two start buttons.
#include <string>

#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;
struct ParBancos;

inline constexpr const char* kTituloZUVProduto =
    "ZUV ATUALIZAÇÃO: Produto, Estoque, Unidade, Grupo, SubGrupo, Fabricante, Cliente, Fornecedor, CFOP";

// Controls the runs fill: the progress bar, the record counter and the customer copy's result.
inline constexpr const char* kControleTrm = "Trm";
inline constexpr const char* kControleContador = "Label1";
inline constexpr const char* kControleResultado = "lblQT";

inline constexpr const char* kDestinoPadrao = "C:\\ZUV\\Dados\\VENDAS.FDB";
inline constexpr const char* kOrigemPadrao = "C:\\ZUV\\Dados\\VENDAS_PORTAS.FDB";

inline constexpr const char* kMensagemSucesso = "Atualização feita com sucesso";
// A statement of a product run failed: followed by the engine's description.
inline constexpr const char* kMensagemErroComando = "Erro ao executar o comando: ";
// The end of a product run: followed by the number of stock items written.
inline constexpr const char* kMensagemTotalProdutos = "Total de Produtos Recuperado  ";

// The two option buttons of "Importação por Tabela".
enum class ModoCopia {
  IncluirProdutos,  // optIncluiProdutos: add the origin's stock items, keep the destination's
  LimpaBanco,       // optProduto (the default): empty the destination and migrate everything
};

struct OpcoesCopia {
  std::string origem = kOrigemPadrao;    // lblOrigem, as typed
  std::string destino = kDestinoPadrao;  // lblDestino, as typed
  ModoCopia modo = ModoCopia::LimpaBanco;
  bool cliente = false;  // chkCliente: the individual run copies the customer table too
};

// "Iniciar Importação" (cmdSalvar): opens both databases, runs the chosen mode and, when it ended
// without a failure, shows kMensagemSucesso.
Resultado IniciaImportacao(ContextoExecucao& ctx, const OpcoesCopia& opcoes);

// "Iniciar Importação Individual" (cmdComanda): the whole of IniciaImportacao and then, when it
// succeeded and chkCliente is ticked, the customer table copy.
Resultado IniciaImportacaoIndividual(ContextoExecucao& ctx, const OpcoesCopia& opcoes);

// The customer table copy alone on the two databases of opcoes (the command line's --cliente
// without a product mode).
Resultado CopiaClientes(ContextoExecucao& ctx, const OpcoesCopia& opcoes);

// The run of the chosen mode on an open pair: AtualizaBancoCadProdutoInclui or AtualizaBanco.
Resultado ExecutaModo(ContextoExecucao& ctx, ParBancos& bancos, ModoCopia modo);

}  // namespace zuv
