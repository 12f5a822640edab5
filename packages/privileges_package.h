#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/operation.h"
#include "framework/pkg_info.h"
#include "packages/privilege.h"
#include "packages/privileges_items.h"

namespace kw {

class TControl;
class TDataSource;
class TField;
class TFieldDataLink;
class TKwCApplication;
class TKwPkgPrivileges;
struct TKwRightsFile;
struct TKwTemplateFile;

// Which rights a package keeps in its dataset field.
enum TKwPkgPrivilegesInfoType : std::uint8_t { pitVisibles = 0, pitAccess = 1 };

using TKwPkgPrivilegesNotifyPrivilegesChanged =
    std::function<void(TKwPkgPrivileges& sender, TKwPkgPrivilegesItem* item, TKwOperation op)>;

// The argument of master message 51 to registered privilege list boxes.
struct TKwPrivilegesChange {
    TKwPkgPrivilegesItem* item;
    TKwOperation operation;
};

// Master-message codes to registered privilege list boxes: 50 carries the package on
// registration and none when the package goes away; 51 a TKwPrivilegesChange.
inline constexpr int kKwLBPrivilegesPackage = 50;
inline constexpr int kKwLBPrivilegesChanged = 51;

// The privileges of an application: a tree of numbered items (the template) with an access
// level and a visibility each (the rights). The application object's package keeps its template
// in the form and its rights in an access file; packages on forms copy that template and keep
// the rights of one user per record of a dataset field.
class TKwPkgPrivileges : public TKwPkgInfo {
    KW_CLASS(TKwPkgPrivileges)
public:
    explicit TKwPkgPrivileges(TComponent* owner);
    ~TKwPkgPrivileges() override;

    // --- Published ---------------------------------------------------------------------
    void SetDefaultExtension(const String& ext) { SetDefaultExt(ext); }
    const String& DataField() const;
    void SetDataField(const String& field);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    const String& Key() const { return key_; }
    void SetKey(const String& key);
    // Read by controls: true disables a control without full access, false makes it read-only.
    bool ReadStateDisableControl() const { return readStateDisableControl_; }
    void SetReadStateDisableControl(bool value) { readStateDisableControl_ = value; }
    TKwPkgPrivilegesInfoType InfoType() const { return infoType_; }
    void SetInfoType(TKwPkgPrivilegesInfoType type);
    TKwPkgPrivilegesNotifyPrivilegesChanged OnPrivilegesChanged;

    // --- Items -------------------------------------------------------------------------
    int Count() const { return static_cast<int>(items_.size()); }
    TKwPkgPrivilegesItem& Items(int index) const { return *items_.at(index); }
    TKwPkgPrivilegesItem& Add(int id);
    // Frees an item and its subtree.
    void Delete(TKwPkgPrivilegesItem& item);
    TKwPkgPrivilegesItem* FindId(int id) const;
    // Raises "System" 22 (negative), 23 (above 9999) or 24 (taken).
    void CheckId(int id) const;
    // The lowest free id.
    int UniqueId() const;
    void Clear() override;
    const String& TemplateDescription() const { return templateDescription_; }
    void SetTemplateDescription(const String& text) { templateDescription_ = text; }

    TKwAccess ReadAccess(int id, TKwAccess fallback) const;
    void WriteAccess(int id, TKwAccess access);
    void ClearAccess();
    void GrantAllAccess();
    void ClearVisibles();
    void GrantAllVisibles();
    void AssignAccess(const TKwPkgPrivileges& source);
    void AssignVisibles(const TKwPkgPrivileges& source);
    // From another privileges package: a copy of its tree and rights.
    void Assign(const TPersistent* source) override;

    // --- Change reporting --------------------------------------------------------------
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void PrivilegesChanged(TKwPkgPrivilegesItem* item, TKwOperation operation);
    int UpdateCount() const { return updateCount_; }
    int PendingChanges() const { return pendingChanges_; }
    // True while a change touches only access or visibility.
    bool RightsOnly() const { return rightsOnly_; }
    // True while the rights are being reloaded from the dataset.
    bool FieldChange() const { return fieldChange_; }

    // --- Files and streams -------------------------------------------------------------
    // The access file goes through the inherited LoadFromFile/SaveToFile and streams.
    void LoadVisiblesFromFile(const String& path);
    void SaveVisiblesToFile(const String& path);
    void LoadVisiblesFromStream(TStream& stream);
    void SaveVisiblesToStream(TStream& stream);
    void LoadTemplateFromFile(const String& path);
    void SaveTemplateToFile(const String& path);
    void LoadTemplateFromStream(TStream& stream);
    void SaveTemplateToStream(TStream& stream);
    // Against the application object's PathPrivileges.
    String GetPathFileName() const override;

    // --- Dataset field -----------------------------------------------------------------
    TField* Field() const;
    void LoadFromField(TField* field);
    void SaveToField(TField* field);
    void LoadVisiblesFromField(TField* field);
    void SaveVisiblesToField(TField* field);
    // By InfoType, through the field of the data link.
    void LoadInfoFromField();
    void SaveInfoToField();
    void ClearInfo();

    // --- Privilege list boxes ----------------------------------------------------------
    void InsertLBPrivileges(TControl& control);
    void RemoveLBPrivileges(TControl& control);
    void NotifyLBPrivileges(TKwPkgPrivilegesItem* item, TKwOperation operation);

    // The template in the form: only the application object's package stores one.
    void DefineProperties(TFiler& filer) override;
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;
    void SetParentComponent(TComponent* parent) override;
    void Notification(TComponent* component, TOperation operation) override;

    bool OwnedByApplication() const;

protected:
    void NotifyInit(TKwLinkEvt& sender) override;
    void NotifyEvt(int evt, void* data) override;
    void NotifyUpdate(TKwLinkEvt& sender) override;
    void xLoadFromStream(TReader& reader) override;
    void xSaveToStream(TWriter& writer) override;

private:
    friend class TKwPkgPrivilegesItem;

    // Runs `body` inside BeginUpdate/EndUpdate; `rightsOnly` marks the closing report as one
    // that changed rights only.
    void Batch(bool rightsOnly, const std::function<void()>& body);
    void EndUpdateMarked(bool rightsOnly);
    void Report(TKwPkgPrivilegesItem* item, TKwOperation operation);
    bool BelongsToActiveApplication() const;
    void TakeOverApplication();
    void FreeItem(TKwPkgPrivilegesItem& item);
    void SetIndexEntry(int id, TKwPkgPrivilegesItem* item);
    void ForEachItem(const std::function<void(TKwPkgPrivilegesItem&)>& action);
    void ForEachTopItem(const std::function<void(TKwPkgPrivilegesItem&)>& action);

    TKwRightsFile RightsToFile(bool visibles, const String& diskFileName) const;
    void ApplyRights(const TKwRightsFile& file, bool visibles, const String& diskFileName);
    void CheckRightsOrigin(const TKwRightsFile& file, bool visibles, const String& diskFileName);
    void LoadSideFile(const String& path, const std::function<void(TStream&)>& load);
    void SaveSideFile(const String& path, const std::function<void(TStream&)>& save);
    TKwTemplateFile TemplateToFile() const;
    void ApplyTemplate(const TKwTemplateFile& file);
    void LoadRightsFromField(TField* field, bool visibles);
    void SaveRightsToField(TField* field, bool visibles);
    void DataChange();

    std::vector<std::unique_ptr<TKwPkgPrivilegesItem>> items_;
    std::vector<TKwPkgPrivilegesItem*> idIndex_;
    std::unique_ptr<TFieldDataLink> dataLink_;
    String key_;
    String templateDescription_;
    bool readStateDisableControl_ = true;
    TKwPkgPrivilegesInfoType infoType_ = pitAccess;
    int updateCount_ = 0;
    int pendingChanges_ = 0;
    TKwPkgPrivilegesItem* lastItem_ = nullptr;
    TKwOperation lastOperation_ = TKwOperation::opeRebuild;
    int removing_ = 0;
    std::vector<TControl*> listBoxes_;
    bool rightsOnly_ = false;
    bool fieldChange_ = false;
    // The bare name of the visibles or template file being loaded or saved; the access file
    // uses the inherited DiskFileName.
    String sideFileName_;
};

// The privileges package of an application object, and that of the active one (or none).
TKwPkgPrivileges* KwAppPrivileges(TKwCApplication& app);
TKwPkgPrivileges* KwAppPrivileges();

}  // namespace kw
