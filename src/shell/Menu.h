#pragma once
// What the main menu shows: its five choices and its caption. The window is FrmMenu.
#include <array>
#include <string>

#include "common/Valor.h"

namespace zuv {

inline constexpr const char* kTituloMenu = "Importador Sistema ZUV";

struct OpcaoMenu {
  const char* botao;       // control name of the button; also the key of the form it opens
  const char* legenda;     // button caption
  const char* rotulo;      // descriptive label beside the button
  const char* formulario;  // class of the task form
};

// The five choices, top to bottom.
const std::array<OpcaoMenu, 5>& opcoesMenu();

// The caption set when the menu loads: kTituloMenu + "  & Data Criação " + the date as
// DD/MM/YYYY joined by separador.
std::string tituloMenuComData(const Data& hoje, const std::string& separador);

// The date separator of the environment's LC_TIME (LC_ALL, LC_TIME, LANG): the first character
// between fields of its short date format; "/" when the locale is unknown or has none.
std::string separadorDataDoAmbiente();

}  // namespace zuv
