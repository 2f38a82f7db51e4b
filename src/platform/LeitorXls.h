#pragma once
// Reader of legacy .xls workbooks (Excel 2 to 2003: BIFF2 to BIFF8) in the program's own process:
// the OLE2 container, the workbook globals, and the active sheet's cells. One pass at opening
// indexes the sheet's rows; a row is then decoded from the stream when asked for. Memory holds the
// shared strings and the index (a few bytes per row), never the workbook stream.
#include <memory>
#include <string>

#include "platform/Planilha.h"

namespace zuv {

// caminho: a file whose content is an OLE2 compound file or a bare BIFF stream.
std::unique_ptr<LeitorPlanilha> abreXls(const std::string& caminho, const LimitesLeitura& limites,
                                        int estilo);

}  // namespace zuv
