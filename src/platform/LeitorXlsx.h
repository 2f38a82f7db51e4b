#pragma once
// Streaming reader of the active sheet of an .xlsx. The sheet's XML is parsed as it is inflated;
// only the string table, the styles and a few recent rows stay in memory.
#include <memory>
#include <string>

#include "platform/Planilha.h"

namespace zuv {

std::unique_ptr<LeitorPlanilha> abreXlsx(const std::string& caminho, const LimitesLeitura& limites,
                                         int estilo);

}  // namespace zuv
