#include "gui/qt/check_list_item.h"

#include "gui/qt/qstring_cp1251.h"

namespace pagefold::gui {
namespace {

constexpr int kNameRole = Qt::UserRole;

}  // namespace

QListWidgetItem* NewFileItem(const std::string& name) {
  auto* item = new QListWidgetItem(ToQString(name));
  item->setData(kNameRole, QByteArray::fromStdString(name));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(Qt::Unchecked);
  return item;
}

std::string FileItemName(const QListWidgetItem& item) {
  return item.data(kNameRole).toByteArray().toStdString();
}

}  // namespace pagefold::gui
