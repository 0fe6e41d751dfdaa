#include "app/PendingTooltips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

#include "app/FeedbackTexts.h"
#include "app/ThumbnailList.h"
#include "catalogue/SizeClasses.h"
#include "editor/Editor.h"

namespace {

constexpr int MARK_GAP = 2;
constexpr int MARK_HEIGHT = 2;

// Draws a thumbnail as ThumbnailDelegate does, with a bar under the picture of tiles whose
// replacement is pending: in the gap between rows, so that even an 8 x 8 picture stays whole.
class PendingTileDelegate : public ThumbnailDelegate {
public:
    PendingTileDelegate(ThumbnailList* list, const Editor& editor, std::function<int()> shownClass)
        : ThumbnailDelegate(list), m_editor(editor), m_shownClass(std::move(shownClass)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        ThumbnailDelegate::paint(painter, option, index);
        const int sizeClass = m_shownClass();
        if (sizeClass < 0 || sizeClass == USER_CLASS ||
            index.row() >= static_cast<int>(MAX_CLASS_ENTRIES) ||
            !m_editor.Pending(sizeClass, index.row())) {
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

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid()) {
            return ThumbnailDelegate::helpEvent(event, view, option, index);
        }
        QToolTip::showText(event->globalPos(), TileTip(m_editor, m_shownClass(), index.row()), view,
                           option.rect);
        return true;
    }

private:
    const Editor& m_editor;
    std::function<int()> m_shownClass;
};

}  // namespace

void InstallTileFacts(ThumbnailList* list, const Editor& editor, std::function<int()> shownClass) {
    list->setItemDelegate(new PendingTileDelegate(list, editor, std::move(shownClass)));
}

QString TileTip(const Editor& editor, int sizeClass, int entry) {
    if (sizeClass < 0 || sizeClass >= SIZE_CLASS_COUNT || entry < 0 ||
        entry >= static_cast<int>(MAX_CLASS_ENTRIES)) {
        return {};
    }
    const SizeClassRecord& record = editor.Table()[sizeClass];
    const bool user = sizeClass == USER_CLASS;
    window_texts::TileFacts facts;
    facts.user = user;
    facts.offset = record.romOffset[entry];
    facts.sizeClass = std::string(SizeClasses()[sizeClass].comboLabel);
    facts.room = user ? 0 : editor.Room(sizeClass, entry);
    facts.description = user ? record.description[entry]
                             : window_texts::DisplayedDescription(record.description[entry]);
    facts.pending = user ? std::nullopt : editor.Pending(sizeClass, entry);
    // Descriptions come from files: shown as written, never as markup.
    return Qt::convertFromPlainText(QString::fromStdString(window_texts::TileToolTip(facts)),
                                    Qt::WhiteSpaceNormal);
}

std::string PendingInfo(const Editor& editor, int sizeClass, int entry) {
    const std::optional<PendingSource> pending = editor.Pending(sizeClass, entry);
    return pending ? window_texts::PendingLine(*pending) : std::string();
}
