#include "skin/data/nine_part_rule.h"

namespace qasp::skin {

std::vector<NinePart> NinePartPieces(QSize source, const QRect &target, const SkinMargins &m)
{
    std::vector<NinePart> pieces;
    if (source.isEmpty() || target.isEmpty())
        return pieces;
    int l = std::max(m.Left, 0), r = std::max(m.Right, 0);
    int t = std::max(m.Top, 0), b = std::max(m.Bottom, 0);
    // A margin pair wider than the target (or than the picture, in a broken
    // skin) is dropped as a pair.
    if (target.width() < l + r || source.width() < l + r)
        l = r = 0;
    if (target.height() < t + b || source.height() < t + b)
        t = b = 0;
    const int sw = source.width(), sh = source.height();
    const int sx[4] = {0, l, sw - r, sw};
    const int sy[4] = {0, t, sh - b, sh};
    const int tx[4] = {target.left(), target.left() + l, target.right() + 1 - r, target.right() + 1};
    const int ty[4] = {target.top(), target.top() + t, target.bottom() + 1 - b, target.bottom() + 1};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            NinePart piece{QRect(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]),
                           QRect(tx[col], ty[row], tx[col + 1] - tx[col], ty[row + 1] - ty[row]),
                           row == 1 && col == 1};
            if (!piece.from.isEmpty() && !piece.to.isEmpty())
                pieces.push_back(piece);
        }
    return pieces;
}

}  // namespace qasp::skin
