#include "ui/feeddialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "feed/categories.h"

namespace {

QLineEdit *lineEdit(const QString &text, const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(objectName);
    return edit;
}

QComboBox *comboBox(const QString &objectName, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    return combo;
}

} // namespace

FeedDialog::FeedDialog(const feed::ShowDetails &details, const QStringList &images, QWidget *parent)
    : QDialog(parent), m_details(details)
{
    setWindowTitle(tr("Flux du podcast"));
    auto *form = new QFormLayout;

    m_address = lineEdit(details.publicAddress, QStringLiteral("addressEdit"), this);
    m_address->setPlaceholderText(QStringLiteral("https://example.com/podcast/MP3/"));
    m_title = lineEdit(details.title, QStringLiteral("titleEdit"), this);
    m_description = new QPlainTextEdit(details.description, this);
    m_description->setObjectName(QStringLiteral("descriptionEdit"));
    m_author = lineEdit(details.author, QStringLiteral("authorEdit"), this);
    m_ownerName = lineEdit(details.ownerName, QStringLiteral("ownerNameEdit"), this);
    m_ownerEmail = lineEdit(details.ownerEmail, QStringLiteral("ownerEmailEdit"), this);
    m_language = lineEdit(details.language, QStringLiteral("languageEdit"), this);

    // Apple's own words: the feed carries them untranslated.
    m_category = comboBox(QStringLiteral("categoryCombo"), this);
    m_category->addItem(QString());
    for (const feed::Category &category : feed::appleCategories())
        m_category->addItem(category.name);
    m_subcategory = comboBox(QStringLiteral("subcategoryCombo"), this);
    m_category->setCurrentText(details.category);
    fillSubcategories(m_category->currentText());
    m_subcategory->setCurrentText(details.subcategory);
    connect(m_category, &QComboBox::currentTextChanged, this, &FeedDialog::fillSubcategories);

    m_explicit = comboBox(QStringLiteral("explicitCombo"), this);
    m_explicit->addItem(tr("Non précisé"), static_cast<int>(feed::Explicit::Unset));
    m_explicit->addItem(tr("Non"), static_cast<int>(feed::Explicit::No));
    m_explicit->addItem(tr("Oui"), static_cast<int>(feed::Explicit::Yes));
    m_explicit->setCurrentIndex(m_explicit->findData(static_cast<int>(details.explicitContent)));

    m_cover = comboBox(QStringLiteral("coverCombo"), this);
    m_cover->addItem(QString());
    m_cover->addItems(images);
    // A cover named earlier but gone from the folder stays named, so that the checks report it.
    if (!details.coverImage.isEmpty() && m_cover->findText(details.coverImage) < 0)
        m_cover->addItem(details.coverImage);
    m_cover->setCurrentText(details.coverImage);

    m_website = lineEdit(details.website, QStringLiteral("websiteEdit"), this);
    m_website->setPlaceholderText(tr("Par défaut : le site de l'adresse publique"));
    m_copyright = lineEdit(details.copyright, QStringLiteral("copyrightEdit"), this);
    m_locked = new QCheckBox(tr("Verrouillé : aucun autre hébergeur ne peut importer le flux sans l'e-mail du propriétaire"), this);
    m_locked->setObjectName(QStringLiteral("lockedBox"));
    m_locked->setChecked(details.locked);
    m_fundingUrl = lineEdit(details.fundingUrl, QStringLiteral("fundingUrlEdit"), this);
    m_fundingUrl->setPlaceholderText(QStringLiteral("https://"));
    m_fundingText = lineEdit(details.fundingText, QStringLiteral("fundingTextEdit"), this);
    m_people = new QPlainTextEdit(feed::peopleText(details.people), this);
    m_people->setObjectName(QStringLiteral("peopleEdit"));
    m_people->setPlaceholderText(tr("Une personne par ligne : Nom (rôle), par exemple Léa Martin (host)"));
    m_episodes = new QListWidget(this);
    m_episodes->setObjectName(QStringLiteral("episodesList"));

    form->addRow(tr("Adresse publique du dossier MP3 : "), m_address);
    form->addRow(tr("Titre : "), m_title);
    form->addRow(tr("Description : "), m_description);
    form->addRow(tr("Auteur : "), m_author);
    form->addRow(tr("Nom du propriétaire : "), m_ownerName);
    form->addRow(tr("E-mail du propriétaire : "), m_ownerEmail);
    form->addRow(tr("Langue : "), m_language);
    form->addRow(tr("Catégorie : "), m_category);
    form->addRow(tr("Sous-catégorie : "), m_subcategory);
    form->addRow(tr("Contenu explicite : "), m_explicit);
    form->addRow(tr("Image de couverture (JPEG ou PNG, carrée, 1400 à 3000 pixels) : "), m_cover);
    form->addRow(tr("Site web : "), m_website);
    form->addRow(tr("Copyright : "), m_copyright);
    form->addRow(QString(), m_locked);
    form->addRow(tr("Soutien (adresse) : "), m_fundingUrl);
    form->addRow(tr("Soutien (texte) : "), m_fundingText);
    form->addRow(tr("Personnes : "), m_people);
    form->addRow(tr("Volume des épisodes : "), m_episodes);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setLayout(form);
}

FeedDialog::~FeedDialog() = default;

feed::ShowDetails FeedDialog::details() const
{
    feed::ShowDetails details = m_details;
    details.publicAddress = m_address->text().trimmed();
    details.title = m_title->text();
    details.description = m_description->toPlainText();
    details.author = m_author->text();
    details.ownerName = m_ownerName->text();
    details.ownerEmail = m_ownerEmail->text().trimmed();
    details.language = m_language->text().trimmed();
    details.category = m_category->currentText();
    details.subcategory = m_subcategory->currentText();
    details.explicitContent = static_cast<feed::Explicit>(m_explicit->currentData().toInt());
    details.coverImage = m_cover->currentText();
    details.website = m_website->text().trimmed();
    details.copyright = m_copyright->text();
    details.locked = m_locked->isChecked();
    details.fundingUrl = m_fundingUrl->text().trimmed();
    details.fundingText = m_fundingText->text();
    details.people = feed::parsePeople(m_people->toPlainText());
    return details;
}

void FeedDialog::setEpisodes(const QStringList &names)
{
    m_episodes->clear();
    for (const QString &name : names)
        m_episodes->addItem(tr("%1 : mesure en cours…").arg(name));
}

void FeedDialog::showLoudness(int episode, const QString &line, bool warning)
{
    if (QListWidgetItem *item = m_episodes->item(episode)) {
        item->setText(line);
        item->setForeground(warning ? QBrush(Qt::red) : m_episodes->palette().text());
    }
}

void FeedDialog::fillSubcategories(const QString &category)
{
    m_subcategory->clear();
    m_subcategory->addItem(QString());
    for (const feed::Category &c : feed::appleCategories()) {
        if (c.name == category)
            m_subcategory->addItems(c.subcategories);
    }
}
