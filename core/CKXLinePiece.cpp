#include "CKXLinePiece.h"

void CKXLinePiece::Dispose() {
    if (m_inStore != 0) {
        this->~CKXLinePiece();
        return;
    }
    delete this;
}
