#pragma once
// Reader of legacy .xls (BIFF) workbooks on FreeXL.
#include <memory>
#include <string>

#include "platform/Ole2.h"
#include "platform/Planilha.h"

namespace zuv {

// info: what the workbook stream says beyond FreeXL (active sheet, protection, formula results).
// arquivo: the file FreeXL opens; caminho: the workbook's own path, for messages.
std::unique_ptr<LeitorPlanilha> abreXls(const std::string& arquivo, const std::string& caminho, InfoBiff info,
                                        int estilo);

}  // namespace zuv
