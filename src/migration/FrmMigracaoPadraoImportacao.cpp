// The button "Incia a Importação para o Sistema ZUV" of FrmMigracaoPadrao: the form's choices and a
// snapshot of the grid become the options of ImportaPlanilhaProduto, which runs on the worker thread.
#include <QCheckBox>
#include <QRadioButton>
#include <memory>

#include "gui/ExecucaoReservada.h"
#include "gui/ModeloGrade.h"
#include "migration/ConsultaNCM.h"
#include "migration/FrmMigracaoPadrao.h"
#include "migration/ImportaPlanilhaProduto.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

void FrmMigracaoPadrao::importaProdutos() {
  OpcoesImportacaoProduto o;
  o.planilha = chkExcel_->isChecked();
  // Copied here, on the user-interface thread: the person may go on editing the grid.
  if (!o.planilha) o.grade = std::make_shared<const GradeProduto>(modeloGrade_->grade());
  o.limpaBase = optLimpaBase_->isChecked();
  o.nomeProduto = chkNomeProduto_->isChecked();
  o.precoCusto = chkPrecoCusto_->isChecked();
  o.precoVenda = chkPrecoVenda_->isChecked();
  o.estoque = chkEstoque_->isChecked();
  o.grupo = chkGrupo_->isChecked();
  o.ncm = chkNCM_->isChecked();
  o.aliqEcf = chkAliqECF_->isChecked();
  o.cfopSat = chkCFOPSat_->isChecked();
  o.unidade = chkUnidade_->isChecked();
  o.tribSimpNac = chkTribSimpNac_->isChecked();
  o.icmsSt = chkIcmsST_->isChecked();
  o.atacado = chkAtacado_->isChecked();
  o.enderecoNCM = ConsultaNCM::enderecoConfigurado();
  // The tables stay reserved until the run has committed (an all-or-nothing run commits after it).
  iniciaExecucaoReservada(*this, "produtos importar", kTabelasProdutos, [o](ContextoExecucao& ctx) {
    if (!o.planilha) ctx.defineOrigem("grade do formulário");
    return ImportaPlanilhaProduto(ctx, o);
  });
}

}  // namespace zuv
