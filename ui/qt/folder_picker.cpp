#include "ui/qt/folder_picker.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTextDocument>
#include <QTreeView>
#include <QVBoxLayout>

#include "resources/string_table.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/pictures_folder.h"
#include "ui/qt/translation.h"
#include "ui/qt/window_placement.h"

namespace {

// The nearest folder that exists at or above `path`, so a remembered folder
// that has gone still opens the tree nearby.
QString NearestFolder(QString path) {
  path = QDir::cleanPath(path);
  while (!QFileInfo(path).isDir() && path != QLatin1String("/")) {
    const QString parent = QFileInfo(path).path();
    if (parent == path) {
      break;
    }
    path = parent;
  }
  return path;
}

// The folders' names alone: the file system model's other columns (size,
// type, date, under English headings) stay out of what screen readers see.
class FolderNames : public QSortFilterProxyModel {
 public:
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
      return Translated(kTextFolderColumn);
    }
    return QSortFilterProxyModel::headerData(section, orientation, role);
  }

 protected:
  bool filterAcceptsColumn(int column, const QModelIndex& /*parent*/) const override {
    return column == 0;
  }
};

// `text` with an Alt key on its first letter that no key of `taken` has
// (compared as lower case); its own "&" stays a "&".
QString WithMnemonic(const QString& text, const QString& taken) {
  QString marked = QString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
  for (qsizetype at = 0; at < marked.size(); ++at) {
    if (marked[at].isLetter() && !taken.contains(marked[at].toLower())) {
      return marked.insert(at, QLatin1Char('&'));
    }
  }
  return marked;
}

class FolderPicker : public QDialog {
 public:
  FolderPicker(QWidget* owner, const QString& title) : QDialog(owner) {
    setWindowTitle(Translated(kTextPickerTitle));
    setObjectName(QStringLiteral("FolderPicker"));
    // The title names the tree, and an Alt key of its own goes there.
    const QString cancel = Translated(kTextCancelButton);
    const QString buttonKeys =
        QStringLiteral("o") + QKeySequence::mnemonic(cancel).toString().right(1).toLower();
    auto* heading = new QLabel(WithMnemonic(title, buttonKeys), this);
    heading->setTextFormat(Qt::PlainText);
    heading->setWordWrap(true);
    heading->setObjectName(QStringLiteral("title"));

    model_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_.setReadOnly(true);
    model_.setRootPath(QStringLiteral("/"));
    names_.setSourceModel(&model_);
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("folders"));
    tree_->setModel(&names_);
    tree_->setHeaderHidden(true);
    tree_->setAccessibleName(title);  // a tree takes no name from its label
    tree_->setAccessibleDescription(Translated(kTextPickerTree));
    tree_->installEventFilter(this);
    heading->setBuddy(tree_);

    // A folder's name is shown as it is, never read as markup.
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextFormat(Qt::PlainText);
    // A long path must not widen the dialog.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setDefault(true);
    ok_->setEnabled(false);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(tree_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(360, 420);
    SetUpForKeyboard(*this);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShowSelected(current); });
    // The tree fills in while folders are read, which pushes the start folder
    // out of view: keep it in view until the user has had time to move.
    const auto keep = [this] { KeepStartInView(); };
    connect(&model_, &QFileSystemModel::directoryLoaded, this, keep, Qt::QueuedConnection);
    connect(&names_, &QAbstractItemModel::rowsInserted, this, keep, Qt::QueuedConnection);
    connect(&names_, &QAbstractItemModel::layoutChanged, this, keep, Qt::QueuedConnection);
  }

  // The tree goes first: it must not watch the models while they go.
  ~FolderPicker() override { delete tree_; }

  void Select(const QString& folder) {
    opened_.start();
    start_ = QPersistentModelIndex(names_.mapFromSource(model_.index(NearestFolder(folder))));
    tree_->setCurrentIndex(start_);
    tree_->expand(start_);
    tree_->scrollTo(start_, QAbstractItemView::PositionAtCenter);
  }

  QString Chosen() const { return model_.filePath(names_.mapToSource(tree_->currentIndex())); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == tree_ && event->type() == QEvent::FocusIn) {
      QMetaObject::invokeMethod(
          this, [this] { TellCurrent(); }, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
  }

 private:
  // Screen readers hear a tree's folder as it becomes the current one while
  // the tree has the focus; the one chosen before, they are told again.
  void TellCurrent() {
    const QModelIndex current = tree_->currentIndex();
    if (tree_->hasFocus() && current.isValid()) {
      tree_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
      tree_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
  }

  void KeepStartInView() {
    constexpr qint64 kFollowMs = 2000;
    if (start_.isValid() && tree_->currentIndex() == start_ && opened_.elapsed() < kFollowMs) {
      tree_->scrollTo(start_, QAbstractItemView::PositionAtCenter);
    }
  }

  void ShowSelected(const QModelIndex& current) {
    const QModelIndex file = names_.mapToSource(current);
    const bool folder = file.isValid() && model_.isDir(file);
    ok_->setEnabled(folder);
    if (folder) {
      status_->setText(model_.filePath(file));
      status_->setToolTip(Qt::convertFromPlainText(status_->text(), Qt::WhiteSpaceNoWrap));
    }
  }

  QFileSystemModel model_;
  FolderNames names_;
  QTreeView* tree_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPersistentModelIndex start_;
  QElapsedTimer opened_;
};

}  // namespace

std::string BrowseForFolder(QWidget* owner, const std::string& startFolder,
                            const std::string& title) {
  FolderPicker picker(owner, QString::fromStdString(title));
  picker.Select(startFolder.empty() ? DefaultPicturesFolder()
                                    : QString::fromStdString(startFolder));
  FitOnScreen(picker);
  CenterWindow(picker);
  if (picker.exec() != QDialog::Accepted) {
    return {};
  }
  return QDir::cleanPath(picker.Chosen()).toStdString();
}
