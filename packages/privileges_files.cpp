#include <algorithm>

#include "display/memory_image.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/pkg_formats.h"
#include "packages/memory_refs.h"
#include "packages/privileges_formats.h"
#include "packages/privileges_package.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/safe_save.h"
#include "platform/core/stream.h"

namespace kw {

namespace {

constexpr int kKeyOrNameMismatch = 90;

TKwAccess AccessFromStored(std::int32_t value) {
    return static_cast<TKwAccess>(std::clamp<std::int32_t>(value, accNone, accReadWrite));
}

String AppKey() {
    const TKwCApplication* app = KwCApp();
    return app != nullptr ? app->PrivilegesKey() : String();
}

void ReadFrom(TStream& stream, const std::function<void(TReader&)>& read) {
    stream.SetPosition(0);
    TReader reader(stream, TFiler::kDefaultBufferSize);
    read(reader);
}

void WriteTo(TStream& stream, const std::function<void(TWriter&)>& write) {
    stream.SetPosition(0);
    TWriter writer(stream, TFiler::kDefaultBufferSize);
    write(writer);
    writer.FlushBuffer();
}

// Clears a string when leaving the scope, whatever happens.
struct ClearOnExit {
    String& value;
    ~ClearOnExit() { value.clear(); }
};

}  // namespace

// --- Access and visibles -------------------------------------------------------------------

TKwRightsFile TKwPkgPrivileges::RightsToFile(bool visibles, const String& diskFileName) const {
    TKwRightsFile file;
    file.description = Description();
    file.appKey = AppKey();
    file.fileName = diskFileName;
    file.key = key_;
    for (const auto& item : items_) {
        file.pairs.push_back(
            {item->Id(), visibles ? static_cast<std::int32_t>(item->Visible()) : item->Access()});
    }
    return file;
}

void TKwPkgPrivileges::CheckRightsOrigin(const TKwRightsFile& file, bool visibles,
                                         const String& diskFileName) {
    // Access files were often copied between systems with other letter case in file names;
    // visibles files never were, and keep the strict rule.
    const bool sameName =
        visibles ? file.fileName == diskFileName : AnsiSameText(file.fileName, diskFileName);
    if (!sameName)
        KwExceptPkgArgs(SourceName(), u"System", kKeyOrNameMismatch, {diskFileName});
    if (file.version >= 2)
        key_ = file.key;
    const String storedKey = Trim(file.appKey);
    if (!storedKey.empty()) {
        const String appKey = Trim(AppKey());
        if (appKey.empty() || appKey != storedKey)
            KwExceptPkgArgs(SourceName(), u"System", kKeyOrNameMismatch, {diskFileName});
    }
}

void TKwPkgPrivileges::ApplyRights(const TKwRightsFile& file, bool visibles,
                                   const String& diskFileName) {
    CheckRightsOrigin(file, visibles, diskFileName);
    Batch(true, [&] {
        for (const TKwRightsPair& pair : file.pairs) {
            TKwPkgPrivilegesItem* item = FindId(pair.id);
            if (item == nullptr)
                continue;
            if (!visibles) {
                item->SetAccess(AccessFromStored(pair.value));
            } else if (item->Visible() != (pair.value != 0)) {
                item->SetVisible(pair.value != 0);
            }
        }
    });
}

void TKwPkgPrivileges::xLoadFromStream(TReader& reader) {
    TKwRightsFile file;
    file.version = ReadPkgHeader(reader, kKwFormatAccess);
    KwReadRightsBody(reader, TKwRightsKind::rkAccess, file);
    ApplyRights(file, false, DiskFileName());
}

void TKwPkgPrivileges::xSaveToStream(TWriter& writer) {
    KwWriteRightsFile(writer, TKwRightsKind::rkAccess, RightsToFile(false, DiskFileName()));
}

void TKwPkgPrivileges::LoadVisiblesFromStream(TStream& stream) {
    ReadFrom(stream, [&](TReader& reader) {
        const TKwRightsFile file =
            KwReadRightsFile(reader, TKwRightsKind::rkVisibles, sideFileName_, SourceName());
        ApplyRights(file, true, sideFileName_);
    });
}

void TKwPkgPrivileges::SaveVisiblesToStream(TStream& stream) {
    WriteTo(stream, [&](TWriter& writer) {
        KwWriteRightsFile(writer, TKwRightsKind::rkVisibles, RightsToFile(true, sideFileName_));
    });
}

// --- Template ------------------------------------------------------------------------------

TKwTemplateFile TKwPkgPrivileges::TemplateToFile() const {
    TKwTemplateFile file;
    file.description = templateDescription_;
    for (const auto& item : items_) {
        TKwTemplateRecord record;
        record.id = item->Id();
        record.parentId = item->Parent() != nullptr ? item->Parent()->Id() : -1;
        record.description = item->Description();
        record.labelPkg = item->DescriptionId().PkgName();
        record.labelId = item->DescriptionId().Id();
        record.access = item->Access();
        record.visible = item->Visible();
        record.imagePkg = item->Image().PkgName();
        record.imageId = item->Image().Id();
        file.records.push_back(std::move(record));
    }
    return file;
}

void TKwPkgPrivileges::ApplyTemplate(const TKwTemplateFile& file) {
    Batch(false, [&] {
        Clear();
        templateDescription_ = file.description;
        for (const TKwTemplateRecord& record : file.records) {
            TKwPkgPrivilegesItem* parent = FindId(record.parentId);
            TKwPkgPrivilegesItem& item = Add(record.id);
            item.description_ = record.description;
            item.descriptionId_->PkgId(record.labelPkg, record.labelId);
            item.image_->PkgId(record.imagePkg, record.imageId);
            item.StoreAccess(AccessFromStored(record.access));
            item.StoreVisible(record.visible);
            // Only parents read before count, so a child listed ahead of its parent stays at
            // the top level.
            if (parent != nullptr)
                item.SetParent(parent);
        }
    });
}

void TKwPkgPrivileges::LoadTemplateFromStream(TStream& stream) {
    ReadFrom(stream, [&](TReader& reader) {
        ApplyTemplate(KwReadTemplateFile(reader, sideFileName_, SourceName()));
    });
}

void TKwPkgPrivileges::SaveTemplateToStream(TStream& stream) {
    WriteTo(stream, [&](TWriter& writer) { KwWriteTemplateFile(writer, TemplateToFile()); });
}

// --- Side files ----------------------------------------------------------------------------

void TKwPkgPrivileges::LoadSideFile(const String& path, const std::function<void(TStream&)>& load) {
    if (Trim(path).empty())
        KwExceptPkg(Name(), u"System", 3);
    TFileStream file(path, TFileMode::fmOpenRead);
    sideFileName_ = ExtractFileName(path);
    ClearOnExit clear{sideFileName_};
    load(file);
}

void TKwPkgPrivileges::SaveSideFile(const String& path, const std::function<void(TStream&)>& save) {
    if (Trim(path).empty())
        KwExceptPkg(Name(), u"System", 3);
    SaveFileSafely(path, [&](TStream& file) {
        sideFileName_ = ExtractFileName(path);
        ClearOnExit clear{sideFileName_};
        save(file);
    });
}

void TKwPkgPrivileges::LoadVisiblesFromFile(const String& path) {
    LoadSideFile(path, [&](TStream& stream) { LoadVisiblesFromStream(stream); });
}

void TKwPkgPrivileges::SaveVisiblesToFile(const String& path) {
    SaveSideFile(path, [&](TStream& stream) { SaveVisiblesToStream(stream); });
}

void TKwPkgPrivileges::LoadTemplateFromFile(const String& path) {
    LoadSideFile(path, [&](TStream& stream) { LoadTemplateFromStream(stream); });
}

void TKwPkgPrivileges::SaveTemplateToFile(const String& path) {
    SaveSideFile(path, [&](TStream& stream) { SaveTemplateToStream(stream); });
}

}  // namespace kw
