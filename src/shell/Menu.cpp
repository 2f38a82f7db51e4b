#include "shell/Menu.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdio>

namespace zuv {

const std::array<OpcaoMenu, 5>& opcoesMenu() {
  static const std::array<OpcaoMenu, 5> opcoes{{
      {"cmdImportaNFE", "Importação de NCM / CFOP", "Atualização da Base de Dados - Cadastro de  NCM e CFOP",
       "FrmAtuProdutoNFE"},
      {"cmdclientes", "Importação de Novos Clientes", "Atualização da Base de Dados - Cadastro de Clientes",
       "FrmClientes"},
      {"cmdImportaZUV", "Importa Outro Banco ZUV",
       "Migração de um Banco de Dados ZUV PARA outro Banco de Dados ZUV", "FrmZUVdeZUVProduto"},
      {"cmdImportaProduto", "Importação Planilha EXCEL",
       "Migração Padrão - Outro Sistema para o Sistema ZUV em Formato Excel", "FrmMigracaoPadrao"},
      {"cmdImportaNCM", "Importação de NCM / CFOP / Aliquota Imposto / Pis / Cofins",
       "Atualização da Base de Dados - Cadastro de  NCM e CFOP", "FrmAtuProdutoNCMCFOP"},
  }};
  return opcoes;
}

std::string tituloMenuComData(const Data& hoje, const std::string& separador) {
  char dia[8], mes[8], ano[8];
  std::snprintf(dia, sizeof dia, "%02d", hoje.dia);
  std::snprintf(mes, sizeof mes, "%02d", hoje.mes);
  std::snprintf(ano, sizeof ano, "%04d", hoje.ano);
  return std::string(kTituloMenu) + "  & Data Criação " + dia + separador + mes + separador + ano;
}

std::string separadorDataDoAmbiente() {
  locale_t local = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (local == static_cast<locale_t>(0)) return "/";
  std::string formato = nl_langinfo_l(D_FMT, local);
  freelocale(local);
  // "%d/%m/%Y", "%d.%m.%Y", "%Y-%m-%d": the text between the first conversion and the next.
  for (size_t i = 0; i + 1 < formato.size(); ++i) {
    if (formato[i] != '%') continue;
    size_t j = i + 1;
    while (j < formato.size() && !std::isalpha(static_cast<unsigned char>(formato[j])))
      ++j;  // flags and widths ("%-d", "%02d")
    const size_t fim = formato.find('%', j + 1);
    if (fim == std::string::npos || fim == j + 1) return "/";
    return formato.substr(j + 1, fim - j - 1);
  }
  return "/";
}

}  // namespace zuv
