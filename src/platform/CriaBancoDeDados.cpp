// Creating an empty database (tests, the demo, the benchmarks): Conexao::criaBancoDeDados.
#include "platform/Conexao.h"
#include "platform/firebird/Cliente.h"

namespace zuv {

void Conexao::criaBancoDeDados(const std::string& caminho, const std::string& usuario,
                               const std::string& senha, bool escritaSincrona) {
  ParametrosConexao p;
  p.fonteDados = caminho;
  const std::string destino = p.caminhoBanco();
  Bloco dpb(IXpbBuilder::DPB);
  dpb.texto(isc_dpb_user_name, usuario)
      .texto(isc_dpb_password, senha)
      .inteiro(isc_dpb_sql_dialect, 3)
      .inteiro(isc_dpb_page_size, 8192)
      .inteiro(isc_dpb_force_write, escritaSincrona ? 1 : 0)
      .texto(isc_dpb_set_db_charset, "NONE")
      .texto(isc_dpb_lc_ctype, "NONE");
  Status st;
  IProvider* despachante = mestre()->getDispatcher();
  IAttachment* anexo = despachante->createDatabase(&st, destino.c_str(), dpb.tamanho(), dpb.dados());
  despachante->release();
  st.verifica();
  anexo->detach(&st);
  st.verifica();
}

}  // namespace zuv
