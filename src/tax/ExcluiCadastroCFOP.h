#pragma once
// The CFOP table reset offered at the start of both tax imports: detaches every stock item and the
// store owner's record from their CFOP records and empties TRIBCFOP, so that the import creates
// the records anew from the workbook.
#include <string>

namespace zuv {

class Conexao;
class ContextoExecucao;

// The statements in their order; each probe and the single delete take the record's identifier.
inline constexpr const char* kSoltaProdutosCFOP =
    "UPDATE PRODUTOESTOQUE SET IDTRIBCFOP = NULL, idTribCFOPEntradada = NULL";
inline constexpr const char* kSoltaCliDonoCFOP = "UPDATE CLIDONO SET IDTRIBCFOP = NULL";
inline constexpr const char* kRegistrosCFOP = "Select * from TRIBCFOP ";
inline constexpr const char* kSondasCFOP[] = {
    " SELECT  IDCFOPENTRADA, IDCFOPSAIDA  FROM   TribCFOPVinculo where  IDCFOPENTRADA = ",
    " SELECT  IDCFOPENTRADA, IDCFOPSAIDA  FROM   TribCFOPVinculo where  IDCFOPSAIDA = ",
    " SELECT  idTribCFOP FROM   Clidono where  idTribCFOP = ",
};
inline constexpr const char* kExcluiUmCFOP = "Delete From TRIBCFOP Where idTribCFOP  = ";
inline constexpr const char* kExcluiTodosCFOP = "DELETE FROM TRIBCFOP";
// The message of a refused reset, followed by the engine's description.
inline constexpr const char* kMensagemErroExcluiCFOP = "Erro ao Excluir CFOP ";

// Backs the database up first (a failed backup throws and nothing is deleted). Then all the
// statements run in one transaction: when the database refuses one (the final delete while
// TribCFOPVinculo still names a record), everything is rolled back, so no stock item loses its
// CFOP links, and "Erro ao Excluir CFOP " + the description is shown. The caller goes on either
// way. Returns whether the table was emptied.
bool ExcluiCadastroCFOP(ContextoExecucao& ctx, Conexao& conexao);

}  // namespace zuv
