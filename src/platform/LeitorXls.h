#pragma once
// Reader of legacy .xls (BIFF) workbooks on FreeXL, which runs in a child process.
#include <memory>
#include <string>

#include "platform/Ole2.h"
#include "platform/Planilha.h"

namespace zuv {

// info: what the workbook stream says beyond FreeXL (active sheet, protection, formula results).
// arquivo: the file FreeXL opens; caminho: the workbook's own path, for messages.
// The sheet is read at once; limites bound the child's answer (bytes, cells) and its time.
std::unique_ptr<LeitorPlanilha> abreXls(const std::string& arquivo, const std::string& caminho, InfoBiff info,
                                        int estilo, const LimitesLeitura& limites);

}  // namespace zuv
