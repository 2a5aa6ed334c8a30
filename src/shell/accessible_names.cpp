#include "accessible_names.h"

namespace zk::shell {

std::vector<zk::platform::ControlName> accessibleNames() {
    return {
        {"Memo1", "Texte", nullptr,
         "Le texte à mettre en forme. Tab y insère une tabulation, Ctrl+Tab passe aux boutons."},
        {"Memo2", "Code HTML", nullptr, "Ctrl+Tab passe au contrôle suivant."},
        {"WebB", "Aperçu", nullptr, nullptr},
        {"WebB2", "Aperçu de l'image", nullptr, nullptr},
        {"WebB3", "Aperçu de la signature", nullptr, nullptr},
        {"Rubrique", "Liste d'images", nullptr, nullptr},
        {"ListImg", "URL des images", nullptr, nullptr},
        {"EditMessListe", nullptr, "LabMessListe", nullptr},
        {"PageControl1", "Préférences", nullptr, nullptr},
        {"EditAjout", nullptr, "LabAjout", nullptr},
        {"EditLimit", nullptr, "LabLimit1", "En caractères"},
        {"EditTextSign", "Texte de la signature", nullptr, nullptr},
        {"BoutTexteSignCoul", "Couleur de la signature", nullptr, nullptr},
        {"CombTaille", "Taille de la signature", nullptr, nullptr},
        {"EditImgSign", "URL de l'image", nullptr, nullptr},
        {"EditLinkImgSign", "Lien sur l'image", nullptr, nullptr},
        {"Z0", "Dégradé prédéfini 1", nullptr, nullptr},
        {"Z1", "Dégradé prédéfini 2", nullptr, nullptr},
        {"Z2", "Dégradé prédéfini 3", nullptr, nullptr},
        {"Z3", "Dégradé prédéfini 4", nullptr, nullptr},
        {"Z4", "Dégradé prédéfini 5", nullptr, nullptr},
        {"Z5", "Dégradé prédéfini 6", nullptr, nullptr},
        {"Z6", "Dégradé prédéfini 7", nullptr, nullptr},
        {"Z7", "Dégradé prédéfini 8", nullptr, nullptr},
        {"CombFormat", nullptr, "LabCombFormat", nullptr},
        {"CombTypeDeg", nullptr, "LabTypeDeg", nullptr},
        {"CombMelange", nullptr, "LabMelange", nullptr},
        {"SliderTeinte", nullptr, "LabTeinte", "En degrés, de 0 à 360"},
        {"SliderEtendue", nullptr, "LabEtendue", "En degrés, de 0 à 360"},
    };
}

} // namespace zk::shell
