#pragma once

#include "PFSignParameterModel.h"

#include <QColor>
#include <QList>
#include <QString>

class PersistentContainer;
struct PFSignData;

// The signature store's one client: saves typed, drawn and image signatures as records of the
// persistent container (each saved at once), lists them and deletes them. Drawn and image
// signatures keep their picture in the SignImage cache folder under the record's imagePath.
class PFDataManager {
public:
    static PFDataManager &sharedManager();
    explicit PFDataManager(PersistentContainer &container) : m_container(container) {}

    // Each inserts one record with dateID = now and saves; false when the store refused it.
    bool pfSaveSignFont(const QString &fontName, const QColor &color, const QString &content);
    bool pfSaveSignDrawImage(const QString &name);
    bool pfSaveSignImage(const QString &name);

    // Every kept signature in the store's order. Drawn and image signatures whose picture file
    // is gone are left out, so nothing offers a signature that cannot be placed.
    QList<PFSignParameterModel> pfGetAllSignData() const;
    // Deletes the records with that key, and their picture files unless another record still
    // names the same file. False when the store refused it.
    bool pfDeleteSignData(const QString &dateID);

    bool isAvailable() const;
    // What went wrong last, for the user; empty when nothing did.
    QString lastError() const;
    // A note about opening the store (a damaged file moved aside); empty when there is none.
    QString openingNotice() const;

private:
    bool insertAndSave(PFSignData &record);

    PersistentContainer &m_container;
};
