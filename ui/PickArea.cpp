#include "ui/PickArea.h"

CPickArea& PickArea() {
    static CPickArea area;
    return area;
}
