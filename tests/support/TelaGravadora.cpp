#include "support/TelaGravadora.h"
