#pragma once
// Emls: walks the contact rows of a recordset it is handed (in practice the
// card's own, so the card's filter and sort decide which rows and in which
// order) and offers each row's name and e-mail address. It moves that
// recordset: the caller brings the card back to its row afterwards.
//
//   emls.setRecs(card.rs);
//   if (emls.RecCount() > 0) {
//       for (emls.MoveFirst(); !emls.isEOF(); emls.MoveNext())
//           if (!emls.EmlAddr().isEmpty()) ...
//   }

#include "data/recordset.h"

#include <QString>

#include <memory>

namespace records {

class Emls {
public:
    void setRecs(std::shared_ptr<data::Recordset> Recset);

    // Move without looking at BOF and EOF first: a refused move is reported
    // and leaves the properties as they were.
    void MoveFirst();
    void MoveNext();

    // The current row's values, "" when it has none or before any move.
    QString EmlAddr() const;
    QString Name() const;
    qint32 RecCount() const;
    qint32 AbsPos() const;
    bool isEOF() const;
    bool isBOF() const;

private:
    // The recordset handed over; raises "object not set" before there is one.
    data::Recordset& recs() const;
    void AssValToProp();

    std::shared_ptr<data::Recordset> m_recs;
    QString m_EmlAddr;
    QString m_Name;
};

} // namespace records
