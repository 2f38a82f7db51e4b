// Opening VENDAS.FDB while a real Firebird server holds it, as on a technician's machine where the
// ZUV system is running. Needs the server that scripts/test.sh starts (ZUV_TEST_SERVIDOR).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/Conexao.h"
#include "support/BancoDeTeste.h"

namespace zuv {
namespace {

std::string protocolo(Conexao& c) {
  auto rs =
      c.abre("select mon$remote_protocol from mon$attachments where mon$attachment_id = current_connection");
  return rs.valor(0).nulo() ? "" : rs.valor(0).comoTexto();
}

TEST(ServidorFirebird, CaminhoLocalDeBancoAbertoPeloServidorPassaPeloServidor) {
  const char* servidor = std::getenv("ZUV_TEST_SERVIDOR");
  if (!servidor || !*servidor)
    GTEST_SKIP() << "ZUV_TEST_SERVIDOR is not set: run scripts/test.sh (as root) to start a Firebird server";
  teste::BancoDeTeste banco;
  const std::string caminho = banco.caminho().string();
  std::filesystem::remove(caminho);
  chmod(banco.pastaDados().parent_path().c_str(), 0777);  // the server runs as the firebird user
  chmod(banco.pastaDados().c_str(), 0777);
  const std::string remoto = std::string(servidor) + ":" + caminho;
  Conexao::criaBancoDeDados(remoto);
  struct stat info {};
  ASSERT_EQ(stat(caminho.c_str(), &info), 0);
  EXPECT_NE(info.st_uid, 0u) << "the server, not this process, should have created the file";

  // The ZUV system's own connection holds the file through the server.
  Conexao doServidor("data source=" + remoto + ";user id=sysdba;password=quartzine;ctype=none");
  doServidor.executa("create table UNIDADE (IDUNIDADE integer, DESCRICAO varchar(6))");
  doServidor.executa("insert into UNIDADE values (1, 'Pç')");
  EXPECT_EQ(protocolo(doServidor), "TCPv4");

  // The plain path of zuv.ini cannot be opened by the embedded engine now; it is served by the
  // local server, which sees the other side's committed work.
  Conexao local(banco.textoConexao());
  EXPECT_EQ(protocolo(local), "TCPv4");
  EXPECT_EQ(local.abre("select DESCRICAO from UNIDADE").valor(0).comoTexto(), "Pç");

  local.fecha();
  doServidor.fecha();

  // With the server no longer holding it, the same string opens the file with the embedded engine.
  Conexao embutida(banco.textoConexao());
  EXPECT_EQ(protocolo(embutida), "");
}

}  // namespace
}  // namespace zuv
