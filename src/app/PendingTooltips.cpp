#include "app/PendingTooltips.h"

#include <QTextDocument>

#include "app/FeedbackTexts.h"
#include "app/ThumbnailList.h"
#include "catalogue/SizeClasses.h"
#include "editor/Editor.h"

namespace {

constexpr int PENDING_ROLE = Qt::UserRole + 1;
constexpr int MARK_GAP = 2;
constexpr int MARK_HEIGHT = 2;

// Draws a thumbnail as ThumbnailDelegate does, with a bar under the picture of tiles whose
// replacement is pending: in the gap between rows, so that even an 8 x 8 picture stays whole.
class PendingTileDelegate : public ThumbnailDelegate {
public:
    using ThumbnailDelegate::ThumbnailDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        ThumbnailDelegate::paint(painter, option, index);
        if (!index.data(PENDING_ROLE).toBool()) {
            return;
        }
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QStyle* style = option.widget != nullptr ? option.widget->style() : nullptr;
        const QRect picture =
            style != nullptr
                ? style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, option.widget)
                : option.rect;
        painter->fillRect(
            QRect(picture.left(), picture.bottom() + 1 + MARK_GAP, picture.width(), MARK_HEIGHT),
            option.palette.color(QPalette::Highlight));
    }
};

}  // namespace

void InstallPendingMarks(ThumbnailList* list) {
    list->setItemDelegate(new PendingTileDelegate(list));
}

void ShowTileTips(ThumbnailList* list, const Editor& editor, int sizeClass) {
    const SizeClassRecord& record = editor.Table()[sizeClass];
    const bool user = sizeClass == USER_CLASS;
    const std::vector<std::uint32_t> rooms =
        user ? std::vector<std::uint32_t>() : editor.Rooms(sizeClass);
    const std::string_view label = SizeClasses()[sizeClass].comboLabel;
    for (int k = 0; k < list->count(); ++k) {
        window_texts::TileFacts facts;
        facts.user = user;
        facts.offset = record.romOffset[k];
        facts.sizeClass = std::string(label);
        facts.room = user ? 0 : rooms[k];
        facts.description = user ? record.description[k]
                                 : window_texts::DisplayedDescription(record.description[k]);
        facts.pending = user ? std::nullopt : editor.Pending(sizeClass, k);
        QListWidgetItem* item = list->item(k);
        // Descriptions come from files: shown as written, never as markup.
        item->setToolTip(Qt::convertFromPlainText(
            QString::fromStdString(window_texts::TileToolTip(facts)), Qt::WhiteSpaceNormal));
        item->setData(PENDING_ROLE, facts.pending.has_value());
    }
}

std::string PendingInfo(const Editor& editor, int sizeClass, int entry) {
    const std::optional<PendingSource> pending = editor.Pending(sizeClass, entry);
    return pending ? window_texts::PendingLine(*pending) : std::string();
}
