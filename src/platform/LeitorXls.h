#pragma once
// Reader of legacy .xls (BIFF) workbooks on FreeXL.
#include <memory>
#include <string>

#include "platform/Ole2.h"
#include "platform/Planilha.h"

namespace zuv {

// info: what the workbook stream's globals say (active sheet, protection, claimed size).
std::unique_ptr<LeitorPlanilha> abreXls(const std::string& caminho, const InfoBiff& info, int estilo);

}  // namespace zuv
